// The simulator events (K:) the aircraft knows (aircraft/tables/sim-events.tsv),
// each with what it does to the aircraft, read once from the table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "event_effects.h"

namespace vorlanex::gauges {

struct TableEvent {
  std::string name;  // upper case, without "K:" or "KEY_"
  std::vector<EventEffect> effects;
  // Nothing a gauge reads changes (a view, the user interface); else, with
  // no effects, the aircraft does not simulate what the event does.
  bool changesNothing = false;
  bool fs2004 = false;  // in FS2004's list of events
  bool simulated() const { return changesNothing || !effects.empty(); }
};

// By name, without regard to case; nullptr for an event the table lacks.
const TableEvent* findEvent(std::string_view name);

const std::vector<TableEvent>& tableEvents();

}  // namespace vorlanex::gauges
