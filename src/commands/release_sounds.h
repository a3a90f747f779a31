// What disconnect does with the sounds and the device.
#pragma once

namespace vorlanex {

// Stops every loaded sound that is playing (without rewinding), releases
// every loaded sound (closing its WAV file) and then closes the device. The
// sounds are marked not loaded, so a panel set up again loads them afresh on
// their next command and plays them on its new device.
void releaseAllSounds();

}  // namespace vorlanex
