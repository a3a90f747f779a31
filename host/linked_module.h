// The module's code linked into the program, with a state of its own: a
// fresh module as the simulator would load it, without loading the library
// again. The tool runs panels on it, and the native tests start from one.
#pragma once

#include <memory>

#include "commands/module_state.h"
#include "module_library.h"

namespace vorlanex::host {

class LinkedModule {
 public:
  LinkedModule();
  // Releases what a panel left without a disconnect: its sounds and device.
  ~LinkedModule();
  LinkedModule(const LinkedModule&) = delete;
  LinkedModule& operator=(const LinkedModule&) = delete;

  // The module's records, with this state's own import record, and services
  // carried out on this state.
  const ModuleExports& exports() const { return exports_; }
  ModuleState& state() { return *state_; }

 private:
  abi::ImportRecord imports_;
  std::unique_ptr<ModuleState> state_;
  ModuleExports exports_;
};

}  // namespace vorlanex::host
