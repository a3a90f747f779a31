// One sound buffer per sound index, loaded from the sound's WAV file.
#pragma once

namespace vorlanex {

// At disconnect: stops every loaded sound that is playing (without rewinding),
// releases every loaded sound, then closes the device.
void releaseAllSounds();

}  // namespace vorlanex
