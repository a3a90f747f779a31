#include "commands/sound_device.h"

#include "audio/audio_device.h"
#include "audio/sound_buffers.h"
#include "commands/slot_play_state.h"

namespace vorlanex {
namespace {

bool anySoundHoldsBuffer(const ModuleState& state) {
  for (const SoundBuffer& sound : state.sounds) {
    if (sound.buffer != nullptr) return true;
  }
  return false;
}

}  // namespace

Result openSoundDevice(ModuleState& state) {
  if (state.device != nullptr) {
    // Its sounds live on the held device, which must neither be released
    // under them nor leaked.
    if (anySoundHoldsBuffer(state)) return kOk;
    closeDevice(state.device);
  }
  return openDevice(state.device);
}

void releaseAllSounds(ModuleState& state) {
  for (int i = 0; i < state.table.soundCount; ++i) {
    SoundSlot& slot = state.table.slots[i];
    if (slot.loaded != 1) continue;
    SoundBuffer& sound = state.sounds[i];
    // Only a started sound can be playing; the buffer goes either way.
    if (slotMayPlay(slot, sound)) stopSound(sound, false);
    releaseSound(sound);
    slot.loaded = 0;
  }
  closeDevice(state.device);
}

}  // namespace vorlanex
