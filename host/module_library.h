// A gauge module loaded as a dynamic library, or linked into the program.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "panel/gauge_abi.h"

namespace vorlanex::host {

// The two records through which the host reaches a module.
struct ModuleExports {
  abi::ModuleLinkage* linkage;
  abi::ImportRecord* importTable;
};

// Loads a module from its file and unloads it on destruction. The module's
// configuration is read once per load, so a test that needs a fresh module
// destroys this and loads the file again.
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
