#include "gauge_macros.h"

#include <cctype>

#include "text_case.h"

namespace vorlanex::gauges {
namespace {

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

}  // namespace

MacroExpander::MacroExpander(const std::map<std::string, std::string>& macros) : macros_(macros) {}

bool MacroExpander::expandOnce(const std::string& script, std::string& out) const {
  out.clear();
  bool expanded = false;
  for (std::size_t i = 0; i < script.size() && out.size() <= kMaxScript;) {
    std::size_t end = i + 1;
    while (script[i] == '@' && end < script.size() && isNameChar(script[end])) ++end;
    const auto macro = script[i] == '@' && end > i + 1
                           ? macros_.find(lowerCase(std::string_view(script).substr(i + 1, end - i - 1)))
                           : macros_.end();
    if (macro == macros_.end()) {
      out += script[i++];
      continue;
    }
    out += macro->second;
    expanded = true;
    i = end;
  }
  return expanded;
}

std::optional<std::string> MacroExpander::expand(std::string_view text, std::string& problem) {
  std::string script(text);
  if (macros_.empty() || script.find('@') == std::string::npos) return script;
  std::string out;
  for (int depth = 0; expandOnce(script, out); ++depth) {
    spent_ += out.size();
    if (out.size() > kMaxScript || spent_ > kMaxGauge) {
      problem = "the script grows past " +
                std::to_string(out.size() > kMaxScript ? kMaxScript : kMaxGauge) +
                " characters with its macros expanded; it is not run";
      return std::nullopt;
    }
    if (depth == kMaxDepth) {
      problem = "macros nested more than " + std::to_string(kMaxDepth) +
                " deep (a macro that uses itself?); the script is not run";
      return std::nullopt;
    }
    script.swap(out);
  }
  return script;
}

}  // namespace vorlanex::gauges
