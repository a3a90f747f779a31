#include "variable_scan.h"

#include <cctype>
#include <cstdlib>

#include "plain_text.h"

namespace vorlanex::tool {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The blank-separated token that ends right before `end`.
std::string_view tokenBefore(std::string_view script, std::size_t end) {
  while (end > 0 && isBlank(script[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !isBlank(script[start - 1])) --start;
  return script.substr(start, end - start);
}

// The blank-separated token that starts at or after `start`; `start` moves past it.
std::string_view tokenAfter(std::string_view script, std::size_t& start) {
  while (start < script.size() && isBlank(script[start])) ++start;
  const std::size_t first = start;
  while (start < script.size() && !isBlank(script[start])) ++start;
  return script.substr(first, start - first);
}

std::optional<double> numberToken(std::string_view token) {
  if (token.empty() || token.size() > 40) return std::nullopt;
  const std::string text(token);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return std::nullopt;
  if (!std::isdigit(static_cast<unsigned char>(text.back())) && text.back() != '.') {
    return std::nullopt;  // "inf", "nan": words of the script, not numbers
  }
  return value;
}

bool comparesWithZero(std::string_view script, std::size_t after) {
  const std::string_view next = tokenAfter(script, after);
  if (next == "!" || next == "not") return true;
  if (next != "0") return false;
  const std::string_view test = tokenAfter(script, after);
  return test == "==" || test == "!=" || test == "eq" || test == "ne";
}

}  // namespace

std::vector<VariableUse> scanScript(std::string_view script) {
  std::vector<VariableUse> uses;
  for (std::size_t open = script.find('('); open != std::string_view::npos;
       open = script.find('(', open + 1)) {
    std::size_t at = open + 1;
    const bool write = at < script.size() && script[at] == '>';
    if (write) ++at;
    if (script.substr(at, 2) != "L:" && script.substr(at, 2) != "l:") continue;
    const std::size_t close = script.find(')', at);
    if (close == std::string_view::npos) break;
    const std::string_view inside = script.substr(at + 2, close - at - 2);
    if (inside.find('(') != std::string_view::npos) continue;  // an unclosed one
    const std::size_t comma = inside.find(',');
    VariableUse use;
    use.write = write;
    use.name = std::string(trimBlanks(inside.substr(0, comma)));
    if (comma != std::string_view::npos) use.unit = std::string(trimBlanks(inside.substr(comma + 1)));
    use.offset = open;
    if (use.name.empty()) continue;
    if (write) {
      use.constant = numberToken(tokenBefore(script, open));
    } else {
      use.comparedWithZero = comparesWithZero(script, close + 1);
    }
    uses.push_back(std::move(use));
  }
  return uses;
}

}  // namespace vorlanex::tool
