// The slot table exactly as the module builds it, from the module's own
// configuration code linked into the tool.
#pragma once

#include <string>
#include <vector>

#include "config/slot_table.h"

namespace vorlanex::tool {

struct ModuleTable {
  // The path the module hands to the profile functions: the parameter string,
  // the default file for an empty one, "" for one too long for its buffer.
  std::string iniPath;
  SoundTable table;
};

// Reads the table the module fills at post-install for a gauge with this
// parameter string, relative to the current directory (the simulator's root
// folder). It runs the module's own code with a panel host of its own, so it
// cannot disagree with the module; unlike the module it can be called again,
// also while a panel runs.
ModuleTable readModuleTable(const std::string& parameters);

// Every panel variable the module reads or writes with this table: each
// sound's, the stop-all variable and the three status variables.
std::vector<std::string> moduleVariables(const SoundTable& table);

}  // namespace vorlanex::tool
