#include "audio/sound_buffers.h"

#include "audio/audio_device.h"

namespace vorlanex {

// No sound is ever loaded yet, so only the device is left to close.
void releaseAllSounds() { closeDevice(); }

}  // namespace vorlanex
