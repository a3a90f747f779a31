// One sound's DirectSound buffer, filled from the sound's WAV file, with the
// reader kept open so a lost buffer can be filled again.
#pragma once

#include <cstdint>

#include "audio/result_codes.h"
#include "audio/wave_reader.h"
#include "sound_api.h"

namespace vorlanex {

// Empty until the sound is loaded; emptied again when it is released.
struct SoundBuffer {
  IDirectSoundBuffer* buffer = nullptr;
  WaveReader* reader = nullptr;  // from the module's heap
  std::uint32_t byteSize = 0;
  bool filled = false;  // false while the buffer's memory holds no sound
};

// Empties the sound, then opens `path` and creates a buffer on `device` in the
// file's own format holding the sample bytes the file really has (its whole
// data, unless the file ends early), filled from the file. S_OK, or the first
// failure of creating or filling. A sound whose creation failed is left empty,
// its file closed: it can never play. One whose fill failed keeps its buffer
// and its reader, and the next play fills it before it starts.
Result loadSound(SoundBuffer& sound, IDirectSound* device, const char* path);
Result createBuffer(SoundBuffer& sound, IDirectSound* device, const char* path);
Result fillBuffer(SoundBuffer& sound);

enum class PlayState {
  kNoBuffer,  // the sound has no buffer: it never plays
  kStopped,
  kPlaying,
  kUnknown,   // the device would not say
};

// Whether the sound's buffer plays: one status query of the device, none for
// a sound without a buffer.
PlayState playState(const SoundBuffer& sound);
// Restores a lost buffer, or fills one whose fill failed, first; never moves
// the play position, so a sound stopped without rewinding resumes where it
// stopped. E_FAIL without buffer.
Result playSound(SoundBuffer& sound, bool looping);
// Stops the sound, rewinding it to its start when asked; nothing without
// buffer. A device that refuses the stop leaves nothing the module could do
// better: the next frame's status query tells whether it still plays.
void stopSound(SoundBuffer& sound, bool rewind);
// A lost buffer's memory is restored and filled again from the reader.
Result restoreBuffer(SoundBuffer& sound);
// Destroys the sound's reader (closing its file) and releases its buffer.
void releaseSound(SoundBuffer& sound);

// Thin calls of the buffer's volume and pan. Without a buffer nothing is
// touched: setVolume and setPan answer E_FAIL and getVolume reports silence
// (DSBVOLUME_MIN), since such a sound is never heard.
Result setVolume(SoundBuffer& sound, std::int32_t hundredths);
std::int32_t getVolume(const SoundBuffer& sound);
Result setPan(SoundBuffer& sound, std::int32_t pan);

}  // namespace vorlanex
