// Checks of the values the module reads from its INI file.
#pragma once

#include <string>
#include <string_view>

#include "problem.h"

namespace vorlanex::tool {

// Where a value stands, for the problems found in it.
struct ValueSite {
  const std::string& file;
  int line;
  std::string key;  // as written in the file
};

// The profile functions hand the module values without their outer quotes;
// these take the value as the module gets it.
void checkMaxSounds(const ValueSite& site, std::string_view value, Problems& out);
void checkErrorFlag(const ValueSite& site, std::string_view value, Problems& out);
// LvarStop and the LVars entries.
void checkVariableName(const ValueSite& site, std::string_view value, Problems& out);
// A Sounds entry: path, or path "," volume percent.
void checkSoundEntry(const ValueSite& site, std::string_view value, Problems& out);

}  // namespace vorlanex::tool
