// Script steps that name a variable neither the module nor the panel's gauges
// read or write: in a run nothing but the script touches it, so a `set` plays
// nothing and an `expect` tests only the script. Almost always a typo.
// Likewise an event the simulated aircraft does not know.
#pragma once

#include <string>
#include <vector>

#include "problem.h"
#include "script.h"

namespace vorlanex::tool {

// One warning per variable not among `known` (the module's, and with a panel
// its gauges' too), at the first step naming it, with a "did you mean" where
// the name is a probable typo of a known one.
Problems unknownScriptVariables(const Script& script, const std::vector<std::string>& known);

// One warning per `event` step naming an event the simulated aircraft does
// not know: it is sent, and changes none of its variables.
Problems unknownScriptEvents(const Script& script);

}  // namespace vorlanex::tool
