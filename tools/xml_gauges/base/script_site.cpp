#include "script_site.h"

namespace vorlanex::gauges {
namespace {

constexpr size_t kExcerptLength = 60;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text on one line: each line break becomes a blank, so that a finding
// quoting a script that spans lines stays one line of the report.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

ScriptSite scriptLineSite(const ScriptSite& script, int lineOffset, std::string_view lineText) {
  ScriptSite site = script;
  site.line = script.line + lineOffset;
  // Only as much of the line as the excerpt shows is looked at, so a finding
  // on a long line costs no more than one on a short line.
  size_t start = 0;
  while (start < lineText.size() && lineText[start] != '\n' && isBlank(lineText[start])) ++start;
  std::string_view rest = lineText.substr(start, kExcerptLength + 1);
  rest = rest.substr(0, rest.find('\n'));
  const bool cut = rest.size() > kExcerptLength && !isBlank(rest.back());
  rest = rest.substr(0, kExcerptLength);
  while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
  site.excerpt = std::string(rest);
  if (cut) site.excerpt += "...";
  return site;
}

bool Findings::add(const ScriptSite& site, std::string message) {
  message = oneLine(std::move(message));
  if (!seen_.emplace(site.file, site.line, message).second) return false;
  all_.push_back({site, std::move(message)});
  return true;
}

void Findings::addUnsimulated(const ScriptSite& site, const std::string& kind,
                              const std::string& instead) {
  const auto [at, first] =
      unsimulated_.try_emplace({site.file, kind}, Unsimulated{all_.size(), site.gauge, 0});
  Unsimulated& told = at->second;
  if (told.gauge != site.gauge) return;
  ++told.uses;
  std::string message = kind + " are not simulated (" + instead + "): " +
                        std::to_string(told.uses) +
                        (told.uses == 1 ? " use in this gauge, here"
                                        : " uses in this gauge, the first here");
  if (first) {
    all_.push_back({site, std::move(message)});
  } else {
    all_[told.finding].message = std::move(message);
  }
}

}  // namespace vorlanex::gauges
