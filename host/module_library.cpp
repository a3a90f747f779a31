#include "module_library.h"

#include "platform/dynamic_library.h"

namespace vorlanex::host {

ModuleLibrary::ModuleLibrary(const std::string& path)
    : library_(platform::loadLibrary(path.c_str())), exports_{} {
  if (library_ == nullptr) {
    const std::string why = platform::lastLibraryError();
    const char* foreign = platform::foreignLibraryKind(path.c_str());
    throw std::runtime_error("cannot load " + path + ": " +
                             (foreign != nullptr
                                  ? "it is " + std::string(foreign) +
                                        ", built for another system than this program"
                                  : why));
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
