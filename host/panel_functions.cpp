#include "panel_functions.h"

#include <utility>

#include "panel_host.h"

namespace vorlanex::host {
namespace {

PanelHost* active = nullptr;

template <int Entry>
void GAUGE_CALL elementRoutine(abi::ElementHeader* element) {
  active->record({Entry, {}, 0, 0.0, element, 0});
}

template <int Entry>
void GAUGE_CALL elementRoutineWithValue(abi::ElementHeader* element, std::uint32_t value) {
  active->record({Entry, {}, 0, 0.0, element, value});
}

std::int32_t GAUGE_CALL lookupNamedVariable(const char* name) {
  const std::int32_t id = active->variables().lookup(name);
  active->record({abi::kLookupNamedVariable, name, id, 0.0, nullptr, 0});
  return id;
}

std::int32_t GAUGE_CALL registerNamedVariable(const char* name) {
  const std::int32_t id = active->variables().registerName(name);
  active->record({abi::kRegisterNamedVariable, name, id, 0.0, nullptr, 0});
  return id;
}

double GAUGE_CALL getNamedVariableValue(std::int32_t id) {
  const double value = active->variables().get(id);
  active->record({abi::kGetNamedVariableValue, {}, id, value, nullptr, 0});
  return value;
}

void GAUGE_CALL setNamedVariableValue(std::int32_t id, double value) {
  active->variables().set(id, value);
  active->record({abi::kSetNamedVariableValue, {}, id, value, nullptr, 0});
}

// Entries the module has no business calling still answer, and the call is
// recorded so a test sees it.
template <int Entry>
void GAUGE_CALL unexpectedEntry() {
  active->record({Entry, {}, 0, 0.0, nullptr, 0});
}

template <int... Entries>
void fillUnexpected(abi::HostPanels& table, std::integer_sequence<int, Entries...>) {
  ((table.entries[Entries] = reinterpret_cast<void*>(&unexpectedEntry<Entries>)), ...);
}

template <typename Function>
void* address(Function function) {
  return reinterpret_cast<void*>(function);
}

}  // namespace

void fillPanelFunctions(abi::HostPanels& table) {
  fillUnexpected(table, std::make_integer_sequence<int, abi::kHostPanelsEntries>{});
  table.entries[abi::kElementQuery] = address(&elementRoutine<abi::kElementQuery>);
  table.entries[abi::kElementInstall] = address(&elementRoutineWithValue<abi::kElementInstall>);
  table.entries[abi::kElementInitialize] = address(&elementRoutine<abi::kElementInitialize>);
  table.entries[abi::kElementUpdate] = address(&elementRoutine<abi::kElementUpdate>);
  table.entries[abi::kElementGenerate] = address(&elementRoutineWithValue<abi::kElementGenerate>);
  table.entries[abi::kElementDraw] = address(&elementRoutine<abi::kElementDraw>);
  table.entries[abi::kElementKill] = address(&elementRoutine<abi::kElementKill>);
  table.entries[abi::kLookupNamedVariable] = address(&lookupNamedVariable);
  table.entries[abi::kRegisterNamedVariable] = address(&registerNamedVariable);
  table.entries[abi::kGetNamedVariableValue] = address(&getNamedVariableValue);
  table.entries[abi::kSetNamedVariableValue] = address(&setNamedVariableValue);
}

void setActiveHost(PanelHost* host) { active = host; }

PanelHost* activeHost() { return active; }

}  // namespace vorlanex::host
