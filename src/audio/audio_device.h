// The module's one DirectSound device, opened at pre-install and closed at
// disconnect. Every sound buffer is created on it.
#pragma once

#include "audio/result_codes.h"
#include "sound_api.h"

namespace vorlanex {

// Opens the default playback device with the simulator's main window (class
// "FS98MAIN", none when it cannot be found) as its cooperative window. A
// refused cooperative level is returned but the device stays in use. While a
// device is held, it is replaced by a new one only when no sound holds a
// buffer on it; otherwise the held device stays, with its sounds.
Result openDevice();

// Releases the device, if one is held. S_OK in every case.
Result closeDevice();

// The device, or null while the module holds none.
IDirectSound* audioDevice();

}  // namespace vorlanex
