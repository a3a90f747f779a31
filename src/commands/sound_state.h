// The simulator's sound switch as the module last saw it.
#pragma once

#include <cstdint>

namespace vorlanex {

// -1 until the first frame in which the switch was read, then the switch's
// last 32-bit value (0 sound off, 1 sound on). Written only by the global
// controls; the scan reads it when it loads a sound or applies a master volume.
extern std::int32_t lastSoundState;

constexpr std::int32_t kSoundUnknown = -1;
constexpr std::int32_t kSoundOff = 0;
constexpr std::int32_t kSoundOn = 1;
constexpr std::int32_t kSilentVolume = -10000;

// Whether sounds are to be heard at their own volumes: with the simulator's
// sound on, and where its switch cannot be read at all (no GLOBAL.DLL), so
// that the panel's volumes still count there.
inline bool storedVolumesHeard() {
  return lastSoundState == kSoundOn || lastSoundState == kSoundUnknown;
}

}  // namespace vorlanex
