// The module's one DirectSound device, opened at pre-install and closed at
// disconnect.
#pragma once

#include "audio/result_codes.h"

namespace vorlanex {

// Opens the default playback device with the simulator's main window as its
// cooperative window. The caller ignores the result.
Result openDevice();

// Releases the device, if one is held.
Result closeDevice();

}  // namespace vorlanex
