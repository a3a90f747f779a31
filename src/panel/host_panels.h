// The module's calls into the host's panel function table. Every call reads
// the table's address afresh from word 1 of the import record, which the host
// fills in when it loads the module. Results are used as they come: no id or
// value is tested for an error.
#pragma once

#include <cstdint>

#include "panel/gauge_abi.h"
#include "panel/import_table.h"

namespace vorlanex {

using VariableId = std::int32_t;

// The host's panel services as one module state reaches them: through the
// exported ImportTable for the module the simulator loads, through a record of
// its own for a state that a tool or a test builds. Inline: the scan makes two
// of these calls for every sound in every frame.
class PanelServices {
 public:
  explicit constexpr PanelServices(const abi::ImportRecord* imports) : imports_(imports) {}

  VariableId lookup(const char* name) const {
    return entry<abi::VariableByName>(abi::kLookupNamedVariable)(name);
  }
  VariableId registerName(const char* name) const {
    return entry<abi::VariableByName>(abi::kRegisterNamedVariable)(name);
  }
  double get(VariableId id) const {
    return entry<abi::GetVariableValue>(abi::kGetNamedVariableValue)(id);
  }
  void set(VariableId id, double value) const {
    entry<abi::SetVariableValue>(abi::kSetNamedVariableValue)(id, value);
  }

 private:
  template <typename Function>
  Function entry(abi::HostPanelsEntry index) const {
    return reinterpret_cast<Function>(imports_->panels->entries[index]);
  }

  const abi::ImportRecord* imports_;
};

// The element-list routines the gauge's standard routines forward to, through
// the exported ImportTable: only the simulator calls those routines.
void callElementRoutine(abi::HostPanelsEntry entry, abi::ElementHeader* element);
void callElementRoutine(abi::HostPanelsEntry entry, abi::ElementHeader* element,
                        std::uint32_t value);

}  // namespace vorlanex
