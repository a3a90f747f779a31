#include "variable_name.h"

#include <cctype>

namespace vorlanex::gauges {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Runs of blanks made one, ends trimmed, letters changed by `change`.
template <typename Change>
std::string normalized(std::string_view text, Change change) {
  std::string out;
  out.reserve(text.size());
  for (char c : trimmed(text)) {
    if (isBlank(c)) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += change(static_cast<unsigned char>(c));
    }
  }
  return out;
}

char kindOf(char letter) {
  switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'A': return 'A';
    case 'E':
    case 'P': return 'E';
    case 'L': return 'L';
    case 'G': return 'G';
    case 'K': return 'K';
    case 'M': return 'M';
    case 'C': return 'C';
    case 'R': return 'R';
    default: return 0;
  }
}

// "GENERAL ENG RPM:1" gives the index 1 and leaves "GENERAL ENG RPM".
int splitIndex(std::string_view& name) {
  const auto colon = name.rfind(':');
  if (colon == std::string_view::npos) return 0;
  const std::string_view digits = trimmed(name.substr(colon + 1));
  if (digits.empty() || digits.size() > 6) return 0;
  int index = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    index = index * 10 + (c - '0');
  }
  name = trimmed(name.substr(0, colon));
  return index;
}

}  // namespace

std::optional<VariableName> parseVariableName(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '(') {
    text.remove_prefix(1);
    if (!text.empty() && text.back() == ')') text.remove_suffix(1);
    text = trimmed(text);
  }
  VariableName variable;
  if (!text.empty() && text.front() == '>') {
    variable.write = true;
    text = trimmed(text.substr(1));
  }
  if (text.size() < 2 || text[1] != ':') return std::nullopt;
  variable.kind = kindOf(text[0]);
  if (variable.kind == 0) return std::nullopt;
  text.remove_prefix(2);

  std::string_view name = text;
  const auto comma = text.find(',');
  if (comma != std::string_view::npos) {
    name = text.substr(0, comma);
    variable.unit = normalized(text.substr(comma + 1),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  }
  name = trimmed(name);
  // A panel's own names (L:) may hold colons of their own; only the
  // simulator's variables carry an index.
  if (variable.kind == 'A' || variable.kind == 'E') variable.index = splitIndex(name);
  if (name.empty()) return std::nullopt;
  variable.name = std::string(name);
  return variable;
}

std::string simulatorKey(std::string_view name) {
  return normalized(name, [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
}

std::string variableText(const VariableName& variable) {
  std::string text = variable.write ? "(>" : "(";
  text += variable.kind;
  text += ':';
  text += variable.name;
  if (variable.index != 0) text += ':' + std::to_string(variable.index);
  if (!variable.unit.empty()) text += ", " + variable.unit;
  text += ')';
  return text;
}

}  // namespace vorlanex::gauges
