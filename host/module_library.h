// A gauge module loaded as a dynamic library, or linked into the program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "panel/gauge_abi.h"

namespace vorlanex::host {

// How the host calls a module's services; the gauge header's own service
// callback when empty.
using ServiceCall = std::function<void(abi::GaugeHeader* gauge, std::int32_t service)>;

// The two records through which the host reaches a module, and how it calls
// its services: a module linked into the program with a state of its own
// takes its calls on that state rather than through the exported callback.
struct ModuleExports {
  abi::ModuleLinkage* linkage;
  abi::ImportRecord* importTable;
  ServiceCall service = {};
};

// Loads a module from its file and unloads it on destruction, as the
// simulator does: its configuration is read once per load.
class ModuleLibrary {
 public:
  // Throws std::runtime_error naming the file when it cannot be loaded or
  // does not export both records.
  explicit ModuleLibrary(const std::string& path);
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  const ModuleExports& exports() const { return exports_; }
  void* handle() const { return library_; }

 private:
  void* library_;
  ModuleExports exports_;
};

}  // namespace vorlanex::host
