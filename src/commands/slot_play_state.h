// Whether a sound plays, asking the device only when the module cannot know.
#pragma once

#include "audio/sound_buffers.h"
#include "config/slot_table.h"

namespace vorlanex {

// A sound that the module has not started since its buffer was created, or
// that it stopped or saw end, is stopped: the device is not asked. Only a
// started sound is asked, once per frame, since it may have ended or its
// buffer been lost (which only ever stops it). A sound without a buffer never
// plays.
inline PlayState slotPlayState(const SoundSlot& slot, const SoundBuffer& sound) {
  if (slot.started == 0) {
    return sound.buffer == nullptr ? PlayState::kNoBuffer : PlayState::kStopped;
  }
  return playState(sound);
}

// Whether the sound may be playing, so that a stop must reach the device: a
// started sound the device plays, or one it would not say about.
inline bool slotMayPlay(const SoundSlot& slot, const SoundBuffer& sound) {
  if (slot.started == 0) return false;
  const PlayState state = playState(sound);
  return state == PlayState::kPlaying || state == PlayState::kUnknown;
}

}  // namespace vorlanex
