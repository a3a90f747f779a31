// Problems of the slot table as a whole: variables that sounds share, and a
// stop-all variable that is also a sound's.
#pragma once

#include <string>

#include "config/slot_table.h"
#include "problem.h"

namespace vorlanex::tool {

// `keys` names the lines that gave the variables; a variable taken by
// default is reported without a line.
Problems checkSharedVariables(const std::string& file, const SoundTable& table,
                              const KeyLines& keys);

}  // namespace vorlanex::tool
