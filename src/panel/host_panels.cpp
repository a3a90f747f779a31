#include "panel/host_panels.h"

#include "panel/import_table.h"

extern "C" {
vorlanex::abi::ImportRecord ImportTable = {vorlanex::kPanelsTableId, nullptr, 0, nullptr};
}

namespace vorlanex {

void callElementRoutine(abi::HostPanelsEntry index, abi::ElementHeader* element) {
  hostPanelsEntry<abi::ElementRoutine>(index)(element);
}

void callElementRoutine(abi::HostPanelsEntry index, abi::ElementHeader* element,
                        std::uint32_t value) {
  hostPanelsEntry<abi::ElementRoutineWithValue>(index)(element, value);
}

}  // namespace vorlanex
