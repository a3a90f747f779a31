#include "commands/release_sounds.h"

#include "audio/audio_device.h"
#include "audio/sound_buffers.h"
#include "config/slot_table.h"

namespace vorlanex {

void releaseAllSounds() {
  for (int i = 0; i < soundTable.soundCount; ++i) {
    SoundSlot& slot = soundTable.slots[i];
    if (slot.loaded != 1) continue;
    const auto index = static_cast<SoundIndex>(i);
    if (playState(index) == PlayState::kPlaying) stopSound(index, false);
    releaseSound(index);
    slot.loaded = 0;
  }
  closeDevice();
}

}  // namespace vorlanex
