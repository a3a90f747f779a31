#include "commands/simulator_switch.h"

#include "platform/dynamic_library.h"

namespace vorlanex {

void findGlobalDll(SimulatorSwitch& simulator) {
  simulator.globalDll = platform::findLoadedLibrary(kGlobalDllName);
}

const volatile std::uint32_t* locateSoundSwitch(SimulatorSwitch& simulator) {
  if (simulator.globalDll == nullptr) {
    findGlobalDll(simulator);
    return nullptr;
  }
  auto* linkage =
      static_cast<unsigned char*>(platform::findLibrarySymbol(simulator.globalDll, "Linkage"));
  if (linkage == nullptr) return nullptr;
  return reinterpret_cast<const volatile std::uint32_t*>(linkage + kSoundSwitchOffset);
}

}  // namespace vorlanex
