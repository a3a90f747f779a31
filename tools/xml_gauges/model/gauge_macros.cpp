#include "gauge_macros.h"

#include <cctype>
#include <vector>

#include "text_case.h"

namespace vorlanex::gauges {
namespace {

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether the body uses parameters (@1 to @9): only then is a "(" right
// after the macro's name its arguments.
bool takesArguments(const std::string& body) {
  for (std::size_t at = body.find('@'); at != std::string::npos; at = body.find('@', at + 1)) {
    if (at + 1 < body.size() && body[at + 1] >= '1' && body[at + 1] <= '9') return true;
  }
  return false;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The arguments of "(a, (b, c))" standing at `open`, split at the commas
// outside inner parentheses, and where they end; nothing when the
// parenthesis never closes.
std::optional<std::vector<std::string_view>> argumentsAt(std::string_view script, std::size_t open,
                                                         std::size_t& end) {
  std::vector<std::string_view> arguments;
  int depth = 0;
  std::size_t start = open + 1;
  for (std::size_t at = open; at < script.size(); ++at) {
    const char c = script[at];
    if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      arguments.push_back(trimmed(script.substr(start, at - start)));
      end = at + 1;
      return arguments;
    } else if (c == ',' && depth == 1) {
      arguments.push_back(trimmed(script.substr(start, at - start)));
      start = at + 1;
    }
  }
  return std::nullopt;
}

// The body with @1 to @9 replaced by the arguments; one not given is empty.
void appendWithArguments(const std::string& body, const std::vector<std::string_view>& arguments, std::string& out) {
  for (std::size_t at = 0; at < body.size(); ++at) {
    const char next = at + 1 < body.size() ? body[at + 1] : '\0';
    if (body[at] != '@' || next < '1' || next > '9') {
      out += body[at];
      continue;
    }
    const auto index = static_cast<std::size_t>(next - '1');
    if (index < arguments.size()) out += arguments[index];
    ++at;
  }
}

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
    expanded = true;
    std::size_t afterArguments = end;
    const auto arguments = end < script.size() && script[end] == '(' && takesArguments(macro->second)
                               ? argumentsAt(script, end, afterArguments)
                               : std::nullopt;
    if (arguments) {
      appendWithArguments(macro->second, *arguments, out);
      i = afterArguments;
    } else {
      out += macro->second;
      i = end;
    }
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
