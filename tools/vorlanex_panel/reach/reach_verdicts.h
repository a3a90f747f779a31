// What the search means for each sound, in the author's terms: the way that
// plays it, or why nothing the pilot does plays it; and what else the
// author should hear of: one-shots that play at rest, loops that never
// stop, a stop-all variable never written.
#pragma once

#include <string>
#include <vector>

#include "config/slot_table.h"
#include "gauge_panel.h"
#include "reach_search.h"

namespace vorlanex::tool {

struct SoundVerdict {
  int sound;             // by the INI's order
  std::string variable;
  bool reached = false;
  std::vector<std::string> steps = {};  // the way's moves, as a way shows them
  std::string reason = "";  // not reached: why
  std::string file = "";    // where the reason points, when it points at a script
  int line = 0;
};

struct ReachNote {
  std::string kind;      // "plays at rest", "never stops", "never written"
  std::string variable;
  std::string text;      // the whole line
};

struct ReachVerdicts {
  std::vector<SoundVerdict> sounds;
  std::vector<ReachNote> notes;
};

ReachVerdicts judgeSearch(const SearchResult& search, const SoundTable& table,
                          const std::vector<gauges::PanelWindowSection>& windows,
                          const std::vector<gauges::PanelGaugeLine>& gauges);

}  // namespace vorlanex::tool
