// check --panel's closing summary: each file's findings (a gauge's under the
// gauge's name) counted by kind, and the three files with the most, so that
// a panel with hundreds of findings shows where they stand.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "check.h"

namespace vorlanex::tool {

// What a finding says without its particulars: the names and variables it
// quotes and its numbers become "...", and what follows the first ": " (its
// consequence, a "did you mean") goes. "unknown word 'nearest'" is "unknown
// word ..."; "popping an empty stack: 0 is read" is "popping an empty stack".
std::string findingKind(const std::string& message);

// Empty when there is nothing to sum up.
std::string summaryText(const PanelCheck& panel, const Problems& problems);
nlohmann::json summaryJson(const PanelCheck& panel, const Problems& problems);

}  // namespace vorlanex::tool
