#include "named_files.h"

#include <fstream>
#include <stdexcept>

#include "module_library.h"
#include "simulator_sound.h"
#include "whole_file.h"

namespace vorlanex::tool {

void requireReadable(const std::string& path) {
  if (!path.empty() && !readWholeFile(path)) throw std::runtime_error("cannot read " + path);
}

// Loaded and let go again: the run loads its own, so a module's
// configuration is still read on the run's load.
void requireLoadableModule(const std::string& path) {
  if (!path.empty()) host::ModuleLibrary{path};
}

void requireLoadableGlobalDll(const std::string& path) {
  if (!path.empty()) host::SimulatorSound{path};
}

void requireWritable(const std::string& path) {
  if (path.empty()) return;
  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace vorlanex::tool
