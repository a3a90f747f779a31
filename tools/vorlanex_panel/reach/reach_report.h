// What `reach` prints: one line per sound in the INI's order, the notes,
// and a closing summary, the only line with timings, so that two runs print
// the same sound lines; the same as JSON.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "reach_search.h"
#include "reach_verdicts.h"

namespace vorlanex::tool {

// "reached cabin_relay in 1 move: click Cabin!battery_switch"
// "not reached cabin_x: the only writes stand under ..."
std::string verdictLine(const SoundVerdict& verdict);

// "8 of 8 sounds reached; depth 3, 41 states, 212 moves made, 9630 frames in 0.84 s"
std::string summaryLine(const ReachVerdicts& verdicts, const SearchResult& search);

std::string reachText(const ReachVerdicts& verdicts, const SearchResult& search);
nlohmann::json reachJson(const ReachVerdicts& verdicts, const SearchResult& search);

}  // namespace vorlanex::tool
