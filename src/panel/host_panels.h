// The module's calls into the host's panel function table. Every call reads
// the table's address afresh from ImportTable word 1, which the host fills in
// when it loads the module. Results are used as they come: no id or value is
// tested for an error.
#pragma once

#include <cstdint>

#include "panel/gauge_abi.h"

namespace vorlanex {

using VariableId = std::int32_t;

VariableId lookupNamedVariable(const char* name);
VariableId registerNamedVariable(const char* name);
double getNamedVariableValue(VariableId id);
void setNamedVariableValue(VariableId id, double value);

// The element-list routines the gauge's standard routines forward to.
void callElementRoutine(abi::HostPanelsEntry entry, abi::ElementHeader* element);
void callElementRoutine(abi::HostPanelsEntry entry, abi::ElementHeader* element,
                        std::uint32_t value);

}  // namespace vorlanex
