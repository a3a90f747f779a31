// The INI file's sounds held against the variables the panel's XML gauges
// read and write.
#pragma once

#include <string>
#include <vector>

#include "config/slot_table.h"
#include "gauge_search.h"
#include "problem.h"

namespace vorlanex::tool {

// Sounds no gauge writes, names that are probably typos of a sound's variable,
// constants that are no command, gauges waiting on a one-shot that may never
// hand its variable back as 0. Problems at the INI file name `iniFile`.
Problems crossCheckPanel(const std::string& iniFile, const SoundTable& table,
                         const KeyLines& keys, const std::vector<PanelUse>& uses);

// How many single-character edits turn `a` into `b` (Levenshtein distance).
std::size_t editDistance(const std::string& a, const std::string& b);

}  // namespace vorlanex::tool
