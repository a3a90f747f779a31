// The module's DirectSound device, opened at pre-install and closed at
// disconnect. Every sound buffer is created on it.
#pragma once

#include "audio/result_codes.h"
#include "sound_api.h"

namespace vorlanex {

// Opens the default playback device into `device` with the simulator's main
// window (class "FS98MAIN", none when it cannot be found) as its cooperative
// window. S_OK; the creation's failure, with `device` null; or a refused
// cooperative level, with the device kept in `device` all the same, since it
// plays without one.
Result openDevice(IDirectSound*& device);

// Releases the device, if one is held, and leaves `device` null.
void closeDevice(IDirectSound*& device);

}  // namespace vorlanex
