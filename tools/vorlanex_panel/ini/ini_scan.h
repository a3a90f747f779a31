// The line-level check of the module's INI file: which lines the module
// reaches, with the Windows profile rules our INI kernel follows, and what the
// values it reads will do.
#pragma once

#include <string>
#include <string_view>

#include "config/slot_table.h"
#include "problem.h"

namespace vorlanex::tool {

struct IniScan {
  Problems problems;
  KeyLines keys;
};

// Scans the text of the INI file `file` as the module reads it into `table`
// (the table the module made of the same text: it decides how many sounds
// there are).
IniScan scanIniText(const std::string& file, std::string_view text, const SoundTable& table);

}  // namespace vorlanex::tool
