#include "module_library.h"

#include "platform/dynamic_library.h"

namespace vorlanex::host {

ModuleLibrary::ModuleLibrary(const std::string& path)
    : library_(platform::loadLibrary(path.c_str())), exports_{} {
  if (library_ == nullptr) {
    throw std::runtime_error("cannot load " + path + ": " + platform::lastLibraryError());
  }
  exports_.linkage =
      static_cast<abi::ModuleLinkage*>(platform::findLibrarySymbol(library_, "Linkage"));
  exports_.importTable =
      static_cast<abi::ImportRecord*>(platform::findLibrarySymbol(library_, "ImportTable"));
  if (exports_.linkage == nullptr || exports_.importTable == nullptr) {
    platform::unloadLibrary(library_);
    throw std::runtime_error(path + " does not export Linkage and ImportTable");
  }
}

ModuleLibrary::~ModuleLibrary() { platform::unloadLibrary(library_); }

}  // namespace vorlanex::host
