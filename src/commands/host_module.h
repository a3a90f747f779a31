// The simulator's module "GLOBAL.DLL", which holds its sound switch.
#pragma once

#include <cstdint>

namespace vorlanex {

constexpr const char* kHostModuleName = "GLOBAL.DLL";
// The switch is a 32-bit value this many bytes past the module's `Linkage`
// export: 1 sound on, 0 sound off.
constexpr std::uintptr_t kHostSoundFlagOffset = 2848;

// Takes the handle of "GLOBAL.DLL" if the simulator has it loaded; null
// otherwise. Never loads the library itself.
void takeHostModuleHandle();
void* hostModuleHandle();

// The simulator's sound switch for this frame, or null when it cannot be
// found. While the handle is null it is sought again for the next frame.
const volatile std::uint32_t* locateHostSoundFlag();

}  // namespace vorlanex
