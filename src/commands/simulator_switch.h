// Finding the simulator's sound switch in its module "GLOBAL.DLL".
#pragma once

#include <cstdint>

#include "commands/module_state.h"
#include "panel/global_dll.h"

namespace vorlanex {

// Takes the handle of "GLOBAL.DLL" if the simulator has it loaded; null
// otherwise. Never loads the library itself.
void findGlobalDll(SimulatorSwitch& simulator);

// The simulator's sound switch for this frame, or null when it cannot be
// found. While the handle is null it is sought again for the next frame.
const volatile std::uint32_t* locateSoundSwitch(SimulatorSwitch& simulator);

}  // namespace vorlanex
