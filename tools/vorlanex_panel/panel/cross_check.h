// The INI file's sounds held against the variables the panel's XML gauges
// read and write.
#pragma once

#include <string>
#include <vector>

#include "config/slot_table.h"
#include "gauge_search.h"
#include "problem.h"
#include "script_site.h"

namespace vorlanex::tool {

// Sounds no gauge writes, names read or written that are probably typos of
// one of the module's variables, constants that are no command, gauges
// waiting on a one-shot that may never hand its variable back as 0. Problems at the INI file name `iniFile`.
Problems crossCheckPanel(const std::string& iniFile, const SoundTable& table,
                         const KeyLines& keys, const std::vector<PanelUse>& uses);

// What the gauge library found compiling and running the gauges' scripts
// (unbalanced if{, unknown words, missing labels and macros, writes to
// read-only kinds...): warnings at each script's file and line, with its text.
Problems scriptFindings(const gauges::Findings& findings);

}  // namespace vorlanex::tool
