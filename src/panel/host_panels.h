// The module's calls into the host's panel function table. Every call reads
// the table's address afresh from ImportTable word 1, which the host fills in
// when it loads the module. Results are used as they come: no id or value is
// tested for an error.
#pragma once

#include <cstdint>

#include "panel/gauge_abi.h"
#include "panel/import_table.h"

namespace vorlanex {

using VariableId = std::int32_t;

// The host's function in `index` of its table. Inline with the calls below:
// the scan makes two of them for every sound in every frame.
template <typename Function>
Function hostPanelsEntry(abi::HostPanelsEntry index) {
  return reinterpret_cast<Function>(ImportTable.panels->entries[index]);
}

inline VariableId lookupNamedVariable(const char* name) {
  return hostPanelsEntry<abi::VariableByName>(abi::kLookupNamedVariable)(name);
}

inline VariableId registerNamedVariable(const char* name) {
  return hostPanelsEntry<abi::VariableByName>(abi::kRegisterNamedVariable)(name);
}

inline double getNamedVariableValue(VariableId id) {
  return hostPanelsEntry<abi::GetVariableValue>(abi::kGetNamedVariableValue)(id);
}

inline void setNamedVariableValue(VariableId id, double value) {
  hostPanelsEntry<abi::SetVariableValue>(abi::kSetNamedVariableValue)(id, value);
}

// The element-list routines the gauge's standard routines forward to.
void callElementRoutine(abi::HostPanelsEntry entry, abi::ElementHeader* element);
void callElementRoutine(abi::HostPanelsEntry entry, abi::ElementHeader* element,
                        std::uint32_t value);

}  // namespace vorlanex
