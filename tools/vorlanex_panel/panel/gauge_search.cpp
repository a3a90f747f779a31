#include "gauge_search.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "cabinet.h"
#include "panel_gauges.h"
#include "text_encoding.h"
#include "windows_files.h"
#include "platform/portable/ascii_case.h"

namespace vorlanex::tool {
namespace {

namespace fs = std::filesystem;

// A folder the simulator looks in: as the file system takes it, and as shown.
struct SearchFolder {
  std::string path;
  std::string shown;
};

std::string join(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

const char* describe(Cabinet::Status status) {
  switch (status) {
    case Cabinet::Status::kCannotOpen:
      return "cannot be opened";
    case Cabinet::Status::kNotACabinet:
      return "is no cabinet file";
    case Cabinet::Status::kDamaged:
      return "is damaged: it cannot be read to its end";
    case Cabinet::Status::kOutOfMemory:
      return "could not be read: the tool ran out of memory";
    case Cabinet::Status::kNoReader:
      return "could not be read: the system's cabinet reader could not be set up";
    case Cabinet::Status::kRead:
      break;
  }
  return "was read";
}

// The name as the folder holding `path` spells it: panel.cfg may write any
// case, and a gauge is named as its own file is.
std::string ownSpelling(const std::string& path) {
  const fs::path written(path);
  const std::string name = written.filename().string();
  std::error_code error;
  const fs::path folder = written.has_parent_path() ? written.parent_path() : fs::path(".");
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string entryName = entry->path().filename().string();
    if (platform::equalNoCase(entryName, name)) return entryName;
  }
  return name;
}

// "door_handle" of "door_handle.xml": a name without its extension.
std::string withoutExtension(const std::string& name) { return fs::path(name).stem().string(); }

class GaugeFinder {
 public:
  GaugeFinder(std::vector<SearchFolder> folders, std::string panelFile, PanelGauges& out)
      : folders_(std::move(folders)), panelFile_(std::move(panelFile)), out_(out) {}

  void find(const GaugeLine& line) {
    FoundGauge found{line, FoundGauge::Kind::kNotFound, "", std::nullopt};
    const std::string xml = line.gauge + ".xml";
    for (const SearchFolder& folder : folders_) {
      if (const auto gau = findPanelFile(join(folder.path, line.file + ".gau"))) {
        const std::string spelt = ownSpelling(*gau);
        found.kind = FoundGauge::Kind::kCompiled;
        found.where = join(folder.shown, spelt);
        found.name = withoutExtension(spelt) + (line.gauge.empty() ? "" : "!" + line.gauge);
        break;
      }
      if (line.gauge.empty()) continue;  // a gauge file holding one gauge is compiled
      if (inCabinet(folder, line.file, xml, found)) break;
      if (const auto file = findPanelFile(join(join(folder.path, line.file), xml))) {
        const std::string container = fs::path(*file).parent_path().string();
        const std::string spelt = ownSpelling(*file);
        const std::string folderSpelt = ownSpelling(container);
        found.kind = FoundGauge::Kind::kFolder;
        found.container = container;
        found.file = *file;
        found.where = join(join(folder.shown, folderSpelt), spelt);
        found.name = folderSpelt + "!" + withoutExtension(spelt);
        read(found, readPanelFile(*file));
        break;
      }
    }
    if (found.kind == FoundGauge::Kind::kNotFound) {
      found.name = gaugeName(line);
      reportNotFound(line);
    }
    out_.gauges.push_back(std::move(found));
  }

 private:
  bool inCabinet(const SearchFolder& folder, const std::string& file, const std::string& xml,
                 FoundGauge& found) {
    const std::optional<std::string> path = findPanelFile(join(folder.path, file + ".cab"));
    if (!path) return false;
    const std::string shown = join(folder.shown, ownSpelling(*path));
    auto cabinet = cabinets_.find(*path);
    if (cabinet == cabinets_.end()) {
      cabinet = cabinets_.emplace(*path, readCabinet(*path)).first;
      if (cabinet->second.status != Cabinet::Status::kRead) {
        out_.problems.push_back({Severity::kWarning, shown, 0, "",
                                 std::string("the cabinet ") + describe(cabinet->second.status) +
                                     ": no gauge is found in it"});
      }
    }
    for (const CabinetMember& member : cabinet->second.members) {
      const std::string name = member.name.substr(member.name.find_last_of("\\/") + 1);
      if (!platform::equalNoCase(name, xml)) continue;
      const std::string spelt = ownSpelling(*path);
      found.kind = FoundGauge::Kind::kCabinet;
      found.container = *path;
      found.file = *path;
      found.where = shown + ":" + name;
      found.name = withoutExtension(spelt) + "!" + withoutExtension(name);
      read(found, member.bytes);
      return true;
    }
    return false;
  }

  // An XML gauge's text, decoded as Windows programs save it; one that cannot
  // be decoded is told, and runs as no XML gauge.
  void read(FoundGauge& found, std::optional<std::string> bytes) {
    if (!bytes) return;
    DecodedText decoded = decodeText(*std::move(bytes));
    if (!decoded.problem.empty()) {
      found.unreadable = true;
      if (scanned_.insert(found.where).second) {
        out_.problems.push_back({Severity::kWarning, found.where, 0, "",
                                 "cannot be decoded (" + decoded.problem +
                                     "): the gauge does not run"});
      }
      return;
    }
    scanOnce(found.where, decoded.text);
    found.unreadable = unreadable_.count(found.where) > 0;
    found.text = std::move(decoded.text);
  }

  void scanOnce(const std::string& shown, const std::string& text) {
    if (!scanned_.insert(shown).second) return;
    XmlGaugeScan scan = scanXmlGauge(text);
    if (scan.scannedAsText) unreadable_.insert(shown);
    if (scan.parseError) {
      out_.problems.push_back(
          {Severity::kWarning, shown, scan.parseErrorLine, "",
           "not well-formed XML (" + *scan.parseError +
               (scan.scannedAsText ? "): its text is scanned for variables as it stands"
                                   : "): its scripts are scanned as a lenient reader takes them")});
    }
    for (ScriptUse& use : scan.uses) out_.uses.push_back({shown, std::move(use)});
  }

  void reportNotFound(const GaugeLine& line) {
    const std::string name = line.gauge.empty() ? line.file : line.file + "!" + line.gauge;
    std::string places = line.file + ".gau";
    if (!line.gauge.empty()) {
      places += ", " + line.gauge + ".xml in " + line.file + ".cab or in the folder " + line.file;
    }
    out_.problems.push_back({Severity::kWarning, panelFile_, line.line, line.key,
                             "the gauge " + name + " is found nowhere: no " + places +
                                 " in the panel's folder or in Gauges"});
  }

  std::vector<SearchFolder> folders_;
  std::string panelFile_;  // as shown
  PanelGauges& out_;
  std::map<std::string, Cabinet> cabinets_;
  std::set<std::string> scanned_;
  std::set<std::string> unreadable_;  // scanned as raw text: no XML at all
};

}  // namespace

std::optional<std::string> readBesideGauge(const FoundGauge& gauge, const std::string& name) {
  // A name is a file's own, never a way out of the gauge's folder.
  if (name.empty() || name.find_first_of("\\/:") != std::string::npos || name == "..") {
    return std::nullopt;
  }
  if (gauge.kind == FoundGauge::Kind::kFolder) return readPanelFile(join(gauge.container, name));
  if (gauge.kind != FoundGauge::Kind::kCabinet) return std::nullopt;
  Cabinet cabinet = readCabinet(gauge.container);
  for (CabinetMember& member : cabinet.members) {
    const std::string base = member.name.substr(member.name.find_last_of("\\/") + 1);
    if (platform::equalNoCase(base, name)) return std::move(member.bytes);
  }
  return std::nullopt;
}

PanelGauges findPanelGauges(const std::string& panelPath, const std::string& shownPath,
                            std::string_view text) {
  PanelGauges out;
  const std::string panelFolder = fs::path(panelPath).parent_path().string();
  const std::string shownFolder = fs::path(shownPath).parent_path().generic_string();
  GaugeFinder finder({{panelFolder, shownFolder}, {"Gauges", "Gauges"}}, shownPath, out);
  for (const GaugeLine& line : readPanelLayout(text).gauges) finder.find(line);
  return out;
}

}  // namespace vorlanex::tool
