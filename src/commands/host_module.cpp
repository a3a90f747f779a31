#include "commands/host_module.h"

#include "platform/dynamic_library.h"

namespace vorlanex {

void takeHostModuleHandle(SimulatorSwitch& simulator) {
  simulator.globalDll = platform::findLoadedLibrary(kHostModuleName);
}

const volatile std::uint32_t* locateHostSoundFlag(SimulatorSwitch& simulator) {
  if (simulator.globalDll == nullptr) {
    takeHostModuleHandle(simulator);
    return nullptr;
  }
  auto* linkage =
      static_cast<unsigned char*>(platform::findLibrarySymbol(simulator.globalDll, "Linkage"));
  if (linkage == nullptr) return nullptr;
  return reinterpret_cast<const volatile std::uint32_t*>(linkage + kHostSoundFlagOffset);
}

}  // namespace vorlanex
