#include "audio/audio_device.h"

namespace vorlanex {

// The module has no sound device yet: opening one comes with the audio engine.
Result openDevice() { return kOk; }

Result closeDevice() { return kOk; }

}  // namespace vorlanex
