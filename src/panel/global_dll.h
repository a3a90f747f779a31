// The simulator's module "GLOBAL.DLL" as the sound module reads it: a 32-bit
// sound switch (1 sound on, 0 sound off) this many bytes past its `Linkage`
// export. Our stand-in of the library is laid out by the same numbers.
#pragma once

#include <cstddef>

namespace vorlanex {

constexpr const char* kGlobalDllName = "GLOBAL.DLL";
constexpr std::size_t kSoundSwitchOffset = 2848;

}  // namespace vorlanex
