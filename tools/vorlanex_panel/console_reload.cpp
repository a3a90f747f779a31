#include "console_reload.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "check.h"
#include "cross_check.h"
#include "file_watch.h"
#include "gauge_search.h"
#include "module_table.h"
#include "panel_facts.h"
#include "report_text.h"
#include "text_case.h"
#include "text_encoding.h"
#include "whole_file.h"
#include "windows_files.h"

namespace vorlanex::tool {
namespace {

namespace fs = std::filesystem;

// Looked at often enough that a save is running within half a second: it is
// taken once a look finds nothing more written, the next frame applies it.
constexpr std::chrono::milliseconds kLookInterval{100};

bool among(const std::vector<std::string>& paths, const std::string& path) {
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

void addOnce(std::vector<std::string>& paths, const std::string& path) {
  if (!among(paths, path)) paths.push_back(path);
}

bool anyAmong(const std::vector<std::string>& saved, const std::vector<std::string>& paths) {
  return std::any_of(saved.begin(), saved.end(),
                     [&](const std::string& path) { return among(paths, path); });
}

// The module's INI and WAV files, and those a save left unreadable.
RunFiles moduleFiles(const std::string& parameters) {
  RunFiles files;
  collectPanelFiles("", std::nullopt, parameters, readModuleTable(parameters), files);
  return files;
}

// The running gauge of the same window and name, for a gauge line read again:
// the one whose state the panel's new layout keeps.
std::optional<std::size_t> runningGauge(const gauges::GaugePanel& gauges,
                                        const gauges::PanelGaugeLine& line) {
  const auto& running = gauges.gauges();
  for (std::size_t g = 0; g < running.size(); ++g) {
    if (gauges::equalNoCase(running[g].section, line.section) && gauges::equalNoCase(running[g].name, line.name)) {
      return g;
    }
  }
  return std::nullopt;
}

std::string countOf(std::size_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

}  // namespace

ConsoleReload::ConsoleReload(const ConsoleRequest& request, std::optional<PanelSetup> setup,
                             LivePanel& panel, ConsoleSession& session, std::FILE* out,
                             std::FILE* log)
    : request_(request),
      setup_(std::move(setup)),
      panel_(panel),
      session_(session),
      out_(out),
      log_(log),
      moduleFiles_(moduleFiles(request.parameters)) {}

ConsoleReload::~ConsoleReload() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stop_.notify_all();
  if (looking_.joinable()) looking_.join();
}

void ConsoleReload::start() {
  toFollow_ = followedFiles();
  looking_ = std::thread([this] { look(); });
}

gauges::ImageBytes ConsoleReload::imageBytes() {
  return [this](int gauge, const std::string& name) -> std::optional<std::string> {
    if (gauge < 0) {
      // A window without file= names no bitmap: its folder is no image.
      if (name.empty()) return std::nullopt;
      const std::string path = (fs::path(request_.panelConfig).parent_path() / name).string();
      addOnce(imageFiles_, findPanelFile(path).value_or(path));
      return readWholeFile(path);
    }
    const FoundGauge& found = setup_->found.at(static_cast<std::size_t>(gauge));
    std::optional<std::string> bytes = readBesideGauge(found, name);
    // A cabinet's bitmaps are saved with the cabinet.
    if (found.kind == FoundGauge::Kind::kCabinet) addOnce(imageFiles_, found.container);
    if (found.kind == FoundGauge::Kind::kFolder && bytes) {
      const std::string path = (fs::path(found.container) / name).string();
      addOnce(imageFiles_, findPanelFile(path).value_or(path));
    }
    return bytes;
  };
}

std::vector<std::string> ConsoleReload::followedFiles() const {
  std::vector<std::string> files;
  if (setup_) {
    addOnce(files, request_.panelConfig);
    for (const FoundGauge& gauge : setup_->found) {
      if (!gauge.file.empty()) addOnce(files, gauge.file);
    }
  }
  for (const std::string& path : moduleFiles_.read) addOnce(files, path);
  for (const std::string& path : imageFiles_) addOnce(files, path);
  return files;
}

void ConsoleReload::look() {
  std::unique_lock<std::mutex> lock(mutex_);
  FileWatch watch(std::move(toFollow_));
  toFollow_.clear();
  std::vector<std::string> pending;  // saved, but still being written at the last look
  while (!stop_.wait_for(lock, kLookInterval, [&] { return stopping_; })) {
    std::vector<std::string> follow = std::move(toFollow_);
    toFollow_.clear();
    lock.unlock();
    if (!follow.empty()) watch.follow(follow);
    const std::vector<std::string> changed = watch.changed();
    lock.lock();
    for (const std::string& path : changed) addOnce(pending, path);
    if (!changed.empty() || pending.empty()) continue;
    for (const std::string& path : pending) addOnce(settled_, path);
    pending.clear();
  }
}

void ConsoleReload::atFrameStart(int frame) {
  std::vector<std::string> saved;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    saved.swap(settled_);
  }
  if (!saved.empty()) apply(saved, frame);
  // The bitmaps are read as windows are first drawn: followed from then on.
  if (saved.empty() && imageFiles_.size() == imagesFollowed_) return;
  imagesFollowed_ = imageFiles_.size();
  std::lock_guard<std::mutex> lock(mutex_);
  toFollow_ = followedFiles();
}

void ConsoleReload::apply(const std::vector<std::string>& saved, int frame) {
  ReloadNote note;
  note.time = frame / request_.framesPerSecond;
  for (const std::string& path : saved) note.saved.push_back(shown(path));
  bool layout = false;
  std::vector<std::string> gaugeFiles;
  if (setup_) {
    gaugeFiles.push_back(request_.panelConfig);
    for (const FoundGauge& gauge : setup_->found) gaugeFiles.push_back(gauge.file);
  }
  if (anyAmong(saved, gaugeFiles)) layout = reloadGauges(saved, note);
  if (anyAmong(saved, moduleFiles_.read)) reloadModule(saved, frame, note);
  if (anyAmong(saved, imageFiles_) && session_.gauges()) {
    session_.gauges()->readImagesAgain();
    note.reloaded.push_back("the gauges' bitmaps read again");
  }
  if (note.reloaded.empty()) note.reloaded.push_back("nothing changed that the panel runs");
  print(note);
  session_.noteReload(std::move(note), layout);
}

bool ConsoleReload::reloadGauges(const std::vector<std::string>& saved, ReloadNote& note) {
  gauges::GaugePanel& gauges = *panel_.runner().gaugePanel();
  PanelSetup next;
  try {
    const std::optional<std::string> bytes = readWholeFile(request_.panelConfig);
    if (!bytes) throw std::runtime_error("cannot read " + request_.panelShown);
    next = readPanelSetup(request_.panelConfig, request_.panelShown,
                          decodedTextOf(*bytes, request_.panelShown));
  } catch (const std::exception& e) {
    note.findings.push_back(e.what());
    note.reloaded.push_back("nothing: the panel runs on as it was");
    return false;
  }
  const bool panelSaved = among(saved, request_.panelConfig);
  // What check finds in the saved files, and which of them cannot be read:
  // a gauge whose save is unreadable runs on as it was.
  std::vector<std::string> savedWhere;
  if (panelSaved) savedWhere.push_back(request_.panelShown);
  for (std::size_t i = 0; i < next.found.size(); ++i) {
    const FoundGauge& found = next.found[i];
    if (!among(saved, found.file)) continue;
    addOnce(savedWhere, found.where);
    if (!found.unreadable) continue;
    const std::optional<std::size_t> running = runningGauge(gauges, next.panel.gauges[i]);
    next.panel.gauges[i].text = running ? gauges.gauges()[*running].text : std::nullopt;
    note.reloaded.push_back(found.name + " kept as it was: its save cannot be read");
  }
  for (const Problem& p : next.problems) {
    if (among(savedWhere, p.file)) note.findings.push_back(formatProblem(p));
  }
  const std::size_t foundBefore = gauges.findings().all().size();
  const bool layout = panelSaved || next.panel.gauges.size() != gauges.gauges().size();
  if (layout) {
    for (std::size_t i = 0; i < next.panel.gauges.size(); ++i) {
      const std::optional<std::size_t> running = runningGauge(gauges, next.panel.gauges[i]);
      if (!running || gauges.gauges()[*running].text != next.panel.gauges[i].text) {
        note.gauges.push_back(static_cast<int>(i));
      }
    }
    panel_.runner().replaceLayout(next.panel);
    note.reloaded.push_back("panel.cfg read again: " + countOf(next.panel.windows.size(), "window") +
                            ", " + countOf(next.panel.gauges.size(), "gauge") +
                            "; those that stay keep their state");
  } else {
    for (std::size_t g = 0; g < next.panel.gauges.size(); ++g) {
      const std::optional<std::string>& text = next.panel.gauges[g].text;
      if (!text || !among(saved, next.found[g].file) || next.found[g].unreadable ||
          gauges.gauges()[g].text == text) {
        continue;
      }
      gauges.replaceGauge(static_cast<int>(g), *text);
      note.gauges.push_back(static_cast<int>(g));
      note.reloaded.push_back(next.panel.gauges[g].name + " (" + next.panel.gauges[g].section +
                              ") compiled again");
    }
  }
  const Problems compiled = scriptFindings(gauges.findings());
  for (std::size_t i = foundBefore; i < compiled.size(); ++i) {
    note.findings.push_back(formatProblem(compiled[i]));
  }
  setup_ = std::move(next);
  return layout || !note.gauges.empty();
}

void ConsoleReload::reloadModule(const std::vector<std::string>& saved, int frame, ReloadNote& note) {
  RunFiles files;
  try {
    files = moduleFiles(request_.parameters);
  } catch (const std::exception& e) {
    note.findings.push_back(e.what());
    note.reloaded.push_back("nothing: the module runs on with the files it read last");
    return;
  }
  for (const Problem& p : files.findings) note.findings.push_back(formatProblem(p));
  if (anyAmong(saved, files.unreadable)) {
    note.reloaded.push_back("nothing: the module runs on with the files it read last");
    return;
  }
  panel_.reloadModule();
  moduleFiles_ = std::move(files);
  note.reloaded.push_back("the module taken down and set up again: it reads its INI and WAV files anew");
  // The page's sounds and the log's followed variables as the new INI has them.
  CheckRequest check;
  check.parameters = request_.parameters;
  check.panelConfig = request_.panelConfig;
  check.panelShown = request_.panelShown;
  const CheckResult checked = runCheck(check);
  if (setup_) panel_.runner().follow(moduleVariables(checked.module.table));
  session_.replaceSounds(panelFacts(checked), checked.module.table, frame);
}

std::string ConsoleReload::shown(const std::string& path) const {
  if (request_.root.empty()) return path;
  const std::string root = fs::path(request_.root).lexically_normal().generic_string();
  const std::string whole = fs::path(path).lexically_normal().generic_string();
  if (whole.size() > root.size() && whole.compare(0, root.size(), root) == 0 && whole[root.size()] == '/') {
    return whole.substr(root.size() + 1);
  }
  return path;
}

void ConsoleReload::print(const ReloadNote& note) {
  for (std::FILE* f : {out_, log_}) {
    if (!f) continue;
    std::string saved;
    for (const std::string& file : note.saved) saved += " " + file;
    std::fprintf(f, "== reloaded at %.2f s:%s\n", note.time, saved.c_str());
    for (const std::string& done : note.reloaded) std::fprintf(f, "   %s\n", done.c_str());
    for (const std::string& finding : note.findings) std::fprintf(f, "   %s\n", finding.c_str());
    std::fflush(f);
  }
}

}  // namespace vorlanex::tool
