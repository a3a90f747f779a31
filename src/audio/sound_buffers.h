// One DirectSound buffer per sound index, filled from the sound's WAV file,
// with the reader kept open so a lost buffer can be filled again.
#pragma once

#include <cstdint>

#include "audio/result_codes.h"
#include "sound_api.h"

namespace vorlanex {

// Sound indexes run from 0 to 99; callers pass only configured indexes.
using SoundIndex = std::uint16_t;
constexpr int kSoundBufferEntries = 100;

// Empties the entry, then opens `path` and creates a buffer in the file's own
// format holding the sample bytes the file really has (its whole data, unless
// the file ends early), filled from the file. S_OK, or the first failure of
// creating or filling. A sound whose creation failed is left empty, its file
// closed: it can never play. One whose fill failed keeps its unfilled buffer
// and its reader, from which a later restore fills it again.
Result loadSound(SoundIndex index, const char* path);
Result createBuffer(SoundIndex index, const char* path);
Result fillBuffer(SoundIndex index);

enum class PlayState {
  kNoBuffer,  // the sound has no buffer: it never plays
  kStopped,
  kPlaying,
};

// Whether the sound's buffer plays: one status query of the device, none for
// a sound without a buffer.
PlayState playState(SoundIndex index);
// Restores a lost buffer first; never moves the play position, so a sound
// stopped without rewinding resumes where it stopped. E_FAIL without buffer.
Result playSound(SoundIndex index, bool looping);
// Stops the sound, rewinding it to its start when asked; nothing without buffer.
void stopSound(SoundIndex index, bool rewind);
// A lost buffer's memory is restored and filled again from the reader.
Result restoreBuffer(SoundIndex index);
// Destroys the sound's reader (closing its file) and releases its buffer.
Result releaseSound(SoundIndex index);
// True when any sound holds a buffer (on the device of the time).
bool anySoundHoldsBuffer();
// The sound's buffer, or null: for tests and tools that look at it.
IDirectSoundBuffer* soundBufferOf(SoundIndex index);

// Thin calls of the buffer's volume and pan. Without a buffer nothing is
// touched: setVolume and setPan answer E_FAIL and getVolume reports silence
// (-10000), since such a sound is never heard.
Result setVolume(SoundIndex index, std::int32_t hundredths);
std::int32_t getVolume(SoundIndex index);
Result setPan(SoundIndex index, std::int32_t pan);

}  // namespace vorlanex
