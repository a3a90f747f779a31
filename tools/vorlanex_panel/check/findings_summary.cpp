#include "findings_summary.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace vorlanex::tool {
namespace {

constexpr const char* kParticular = "...";  // ASCII: a Windows console shows it as written
constexpr std::size_t kMostFiles = 3;

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::size_t letters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return std::isalpha(static_cast<unsigned char>(c));
  }));
}

// "(A:EXIT OPEN:0, percent)", "(>L:x)", as against an aside "(an escape?)".
bool isVariable(const std::string& span) {
  const std::size_t colon = span.find(':');
  return colon != std::string::npos && colon <= 3 && letters(span.substr(0, colon)) == 1;
}

// Past the quote or the parentheses that open at `at`.
std::size_t pastSpan(const std::string& text, std::size_t at) {
  if (text[at] == '\'') {
    const std::size_t close = text.find('\'', at + 1);
    return close == std::string::npos ? text.size() : close + 1;
  }
  int depth = 0;
  for (; at < text.size(); ++at) {
    if (text[at] == '(') ++depth;
    if (text[at] == ')' && --depth == 0) return at + 1;
  }
  return text.size();
}

// The words, each holding a digit or a gauge's '!' made "...", runs of "..." one.
std::string withoutParticularWords(const std::string& text) {
  std::istringstream words(text);
  std::string out;
  for (std::string word; words >> word;) {
    if (std::any_of(word.begin(), word.end(), [](char c) {
          return std::isdigit(static_cast<unsigned char>(c)) || c == '!';
        })) {
      word = kParticular;
    }
    if (word == kParticular && endsWith(out, kParticular)) continue;
    out += (out.empty() ? "" : " ") + word;
  }
  return out;
}

struct FileFindings {
  std::string shown;  // the gauge's name, or the file's
  std::map<Severity, int> bySeverity;
  std::vector<std::pair<std::string, int>> byKind;  // in the order first met
  int total = 0;
};

std::string plural(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

std::string severities(const FileFindings& file) {
  std::string text;
  for (const auto& [severity, n] : file.bySeverity) {
    text = plural(n, severityName(severity)) + (text.empty() ? "" : ", " + text);
  }
  return text;
}

// The files with findings: those of no gauge (the INI file, panel.cfg, a
// cabinet) first, as met, then the gauges' in panel.cfg's order.
std::vector<std::pair<std::string, FileFindings>> filesWithFindings(const PanelCheck& panel,
                                                                    const Problems& problems) {
  std::map<std::string, std::string> gaugeOf;  // file shown -> gauge name
  std::vector<std::string> gaugeOrder;
  for (const FoundGauge& gauge : panel.gauges.gauges) {
    if (!gauge.where.empty() && gaugeOf.emplace(gauge.where, gauge.name).second) {
      gaugeOrder.push_back(gauge.where);
    }
  }
  std::map<std::string, FileFindings> files;
  std::vector<std::string> others;
  for (const Problem& problem : problems) {
    auto [at, first] = files.try_emplace(problem.file);
    FileFindings& file = at->second;
    if (first) {
      const auto gauge = gaugeOf.find(problem.file);
      file.shown = gauge == gaugeOf.end() ? problem.file : gauge->second;
      if (gauge == gaugeOf.end()) others.push_back(problem.file);
    }
    ++file.bySeverity[problem.severity];
    ++file.total;
    const std::string kind = findingKind(problem.message);
    const auto known = std::find_if(file.byKind.begin(), file.byKind.end(),
                                    [&](const auto& k) { return k.first == kind; });
    if (known == file.byKind.end()) {
      file.byKind.emplace_back(kind, 1);
    } else {
      ++known->second;
    }
  }
  std::vector<std::pair<std::string, FileFindings>> out;
  for (const std::vector<std::string>* order : {&others, &gaugeOrder}) {
    for (const std::string& name : *order) {
      const auto file = files.find(name);
      if (file != files.end()) out.emplace_back(name, file->second);
    }
  }
  for (auto& [name, file] : out) {
    std::stable_sort(file.byKind.begin(), file.byKind.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
  }
  return out;
}

std::vector<std::pair<std::string, int>> mostFindings(
    const std::vector<std::pair<std::string, FileFindings>>& files) {
  std::vector<std::pair<std::string, int>> most;
  for (const auto& [name, file] : files) most.emplace_back(name, file.total);
  std::stable_sort(most.begin(), most.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (most.size() > kMostFiles) most.resize(kMostFiles);
  return most;
}

}  // namespace

std::string findingKind(const std::string& message) {
  std::string text = message.substr(0, message.rfind(" (in: "));
  std::string kind;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (c == '\'' || c == '(') {
      // A name or a variable stands for the particular; an aside goes.
      const std::size_t past = pastSpan(text, at);
      if ((c == '\'' || isVariable(text.substr(at, past - at))) && !endsWith(kind, kParticular)) {
        kind += kParticular;
      }
      at = past;
      continue;
    }
    // The consequence follows the first ": " or "; " after a word: not the
    // colon of "C: variables".
    if ((c == ':' || c == ';') && at + 1 < text.size() && text[at + 1] == ' ' &&
        letters(kind) > 1) {
      break;
    }
    kind += c;
    ++at;
  }
  kind = withoutParticularWords(kind);
  const std::string leading = std::string(kParticular) + ":";
  if (kind.compare(0, leading.size(), leading) == 0)
    kind = withoutParticularWords(kind.substr(leading.size()));
  return kind;
}

std::string summaryText(const PanelCheck& panel, const Problems& problems) {
  const auto files = filesWithFindings(panel, problems);
  if (files.empty()) return "";
  std::string text = "summary by gauge and file:\n";
  for (const auto& [name, file] : files) {
    text += "  " + file.shown + ": " + severities(file) + "\n";
    for (const auto& [kind, n] : file.byKind) {
      std::string count = std::to_string(n);
      text +=
          std::string(count.size() < 6 ? 6 - count.size() : 0, ' ') + count + "  " + kind + "\n";
    }
  }
  text += "most findings:";
  const auto most = mostFindings(files);
  for (std::size_t i = 0; i < most.size(); ++i) {
    text += (i == 0 ? " " : ", ") + most[i].first + " (" + std::to_string(most[i].second) + ")";
  }
  return text + "\n";
}

nlohmann::json summaryJson(const PanelCheck& panel, const Problems& problems) {
  const auto files = filesWithFindings(panel, problems);
  nlohmann::json gauges = nlohmann::json::array();
  for (const auto& [name, file] : files) {
    nlohmann::json kinds = nlohmann::json::array();
    for (const auto& [kind, n] : file.byKind) kinds.push_back({{"kind", kind}, {"findings", n}});
    gauges.push_back(
        {{"gauge", file.shown}, {"file", name}, {"findings", file.total}, {"kinds", kinds}});
  }
  nlohmann::json most = nlohmann::json::array();
  for (const auto& [name, n] : mostFindings(files))
    most.push_back({{"file", name}, {"findings", n}});
  return {{"gauges", gauges}, {"mostFindings", most}};
}

}  // namespace vorlanex::tool
