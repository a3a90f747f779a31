// A variable as scripts name it: "(A:GENERAL ENG RPM:1, rpm)", "(>L:fan, number)",
// "(G:Var1)", "(>K:TOGGLE_MASTER_BATTERY)".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlanex::gauges {

struct VariableName {
  char kind = 'L';   // upper case: 'A', 'E' (P: is read as E:), 'L', 'G', 'K', 'M', 'C', 'R'
  std::string name;  // trimmed, inner blanks as written: "GENERAL ENG RPM"
  int index = 0;     // "GENERAL ENG RPM:1" gives 1; 0 when none is given
  std::string unit;  // trimmed and lower case; empty when none is given
  bool write = false;  // written as "(>...)"
};

// Reads one variable reference. Accepts the text with or without its
// parentheses; blanks around the colon, the comma and the unit are allowed.
// Nothing for a text that is no variable of a known kind.
std::optional<VariableName> parseVariableName(std::string_view text);

// The name as compared for A:, E: and P: variables: upper case, runs of blanks
// made one, trimmed; the index kept apart.
std::string simulatorKey(std::string_view name);

// "(A:GENERAL ENG RPM:1, rpm)" again, for logs and script steps.
std::string variableText(const VariableName& variable);

}  // namespace vorlanex::gauges
