// The module's sound device over a panel's life: opened at pre-install,
// released with every sound at disconnect.
#pragma once

#include "audio/result_codes.h"
#include "commands/module_state.h"

namespace vorlanex {

// Opens the device. While one is held it is replaced by a new one only when
// no sound holds a buffer on it (a panel set up again without a disconnect):
// otherwise the held device stays, with its sounds. The result is the
// device's (a refused cooperative level keeps the device); the module plays
// on whatever it got, and a sound without a device is told as unplayable.
Result openSoundDevice(ModuleState& state);

// Stops every loaded sound that is playing (without rewinding), releases
// every loaded sound (closing its WAV file) and then closes the device. The
// sounds are marked not loaded, so a panel set up again loads them afresh on
// their next command and plays them on its new device.
void releaseAllSounds(ModuleState& state);

}  // namespace vorlanex
