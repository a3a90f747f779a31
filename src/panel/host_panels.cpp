#include "panel/host_panels.h"

#include "panel/import_table.h"

extern "C" {
vorlanex::abi::ImportRecord ImportTable = {vorlanex::kPanelsTableId, nullptr, 0, nullptr};
}

namespace vorlanex {
namespace {

template <typename Function>
Function entry(abi::HostPanelsEntry index) {
  return reinterpret_cast<Function>(ImportTable.panels->entries[index]);
}

}  // namespace

VariableId lookupNamedVariable(const char* name) {
  return entry<abi::VariableByName>(abi::kLookupNamedVariable)(name);
}

VariableId registerNamedVariable(const char* name) {
  return entry<abi::VariableByName>(abi::kRegisterNamedVariable)(name);
}

double getNamedVariableValue(VariableId id) {
  return entry<abi::GetVariableValue>(abi::kGetNamedVariableValue)(id);
}

void setNamedVariableValue(VariableId id, double value) {
  entry<abi::SetVariableValue>(abi::kSetNamedVariableValue)(id, value);
}

void callElementRoutine(abi::HostPanelsEntry index, abi::ElementHeader* element) {
  entry<abi::ElementRoutine>(index)(element);
}

void callElementRoutine(abi::HostPanelsEntry index, abi::ElementHeader* element,
                        std::uint32_t value) {
  entry<abi::ElementRoutineWithValue>(index)(element, value);
}

}  // namespace vorlanex
