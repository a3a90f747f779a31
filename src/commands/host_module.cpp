#include "commands/host_module.h"

#include "platform/dynamic_library.h"

namespace vorlanex {
namespace {

void* handle = nullptr;

}  // namespace

void takeHostModuleHandle() { handle = platform::findLoadedLibrary(kHostModuleName); }

void* hostModuleHandle() { return handle; }

const volatile std::uint32_t* locateHostSoundFlag() {
  if (handle == nullptr) {
    takeHostModuleHandle();
    return nullptr;
  }
  auto* linkage = static_cast<unsigned char*>(platform::findLibrarySymbol(handle, "Linkage"));
  if (linkage == nullptr) return nullptr;
  return reinterpret_cast<const volatile std::uint32_t*>(linkage + kHostSoundFlagOffset);
}

}  // namespace vorlanex
