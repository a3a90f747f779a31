#include "panel/host_panels.h"

#include "panel/import_table.h"

extern "C" {
vorlanex::abi::ImportRecord ImportTable = {vorlanex::kPanelsTableId, nullptr, 0, nullptr};
}

namespace vorlanex {
namespace {

template <typename Function>
Function exportedEntry(abi::HostPanelsEntry index) {
  return reinterpret_cast<Function>(ImportTable.panels->entries[index]);
}

}  // namespace

void callElementRoutine(abi::HostPanelsEntry index, abi::ElementHeader* element) {
  exportedEntry<abi::ElementRoutine>(index)(element);
}

void callElementRoutine(abi::HostPanelsEntry index, abi::ElementHeader* element,
                        std::uint32_t value) {
  exportedEntry<abi::ElementRoutineWithValue>(index)(element, value);
}

}  // namespace vorlanex
