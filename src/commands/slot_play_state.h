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
inline PlayState slotPlayState(const SoundSlot& slot, SoundIndex index) {
  if (slot.started == 0) {
    return soundBufferOf(index) == nullptr ? PlayState::kNoBuffer : PlayState::kStopped;
  }
  return playState(index);
}

// Whether the sound plays: asked of the device only for a started sound.
inline bool slotPlaying(const SoundSlot& slot, SoundIndex index) {
  return slot.started != 0 && playState(index) == PlayState::kPlaying;
}

}  // namespace vorlanex
