#include "event_table.h"

#include <unordered_map>

#include "table_rows.h"
#include "table_text.h"
#include "text_case.h"

namespace vorlanex::gauges {
namespace {

struct EventTable {
  std::vector<TableEvent> events;
  std::unordered_map<std::string, std::size_t> byName;

  EventTable() {
    enum Column { kEvent, kParameter, kEffect, kSource };
    const auto rows = tableRows(eventsTableText());
    events.reserve(rows.size());
    for (const auto& row : rows) {
      TableEvent event;
      event.name = upperCase(trimmed(cell(row, kEvent)));
      ParsedEffects parsed = parseEffects(cell(row, kEffect));
      event.effects = std::move(parsed.effects);
      event.changesNothing = parsed.changesNothing;
      event.fs2004 = cell(row, kSource).find("fs9keys") != std::string_view::npos;
      if (byName.emplace(event.name, events.size()).second) events.push_back(std::move(event));
    }
  }
};

const EventTable& eventTable() {
  static const EventTable table;
  return table;
}

}  // namespace

const TableEvent* findEvent(std::string_view name) {
  const EventTable& table = eventTable();
  const auto found = table.byName.find(upperCase(name));
  return found == table.byName.end() ? nullptr : &table.events[found->second];
}

const std::vector<TableEvent>& tableEvents() { return eventTable().events; }

}  // namespace vorlanex::gauges
