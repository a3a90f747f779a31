#include "commands/global_controls.h"

#include "audio/sound_buffers.h"
#include "commands/command_value.h"
#include "commands/host_module.h"
#include "commands/slot_play_state.h"
#include "commands/sound_state.h"
#include "config/slot_table.h"
#include "panel/host_panels.h"
#include "panel/status_variables.h"

namespace vorlanex {

std::int32_t lastSoundState = -1;

namespace {

void stopAllWhenAsked() {
  SoundSlot& stopAll = stopAllSlot(soundTable);
  stopAll.varId = lookupNamedVariable(stopAll.varName);
  // 0, negative values and NaN are left alone.
  if (!(getNamedVariableValue(stopAll.varId) > 0)) return;
  for (int i = 0; i < soundTable.soundCount; ++i) {
    SoundSlot& slot = soundTable.slots[i];
    const auto index = static_cast<SoundIndex>(i);
    // A sound without a buffer counts too: its variable is handed back as 0.
    if (slot.loaded != 1 || slotPlayState(slot, index) == PlayState::kStopped) continue;
    stopSound(index, true);
    slot.started = 0;
    // The status is cleared by the stop command now in the variable.
    slot.varId = lookupNamedVariable(slot.varName);
    setNamedVariableValue(slot.varId, 0);
  }
  setNamedVariableValue(stopAll.varId, 0);
}

void setLoadedVolumes(bool soundOn) {
  for (int i = 0; i < soundTable.soundCount; ++i) {
    const SoundSlot& slot = soundTable.slots[i];
    if (slot.loaded != 1) continue;
    setVolume(static_cast<SoundIndex>(i),
              soundOn ? truncateToInt32(slot.volume) : kSilentVolume);
  }
}

void followSimulatorSound() {
  const volatile std::uint32_t* flag = locateHostSoundFlag();
  if (flag == nullptr) return;
  const std::uint32_t value = *flag;
  setNamedVariableValue(lookupNamedVariable(kSoundIndicatorVariable), value & 0xFFu);
  const auto state = static_cast<std::int32_t>(value);
  if (state == lastSoundState) return;
  if (state == kSoundOff || state == kSoundOn) setLoadedVolumes(state == kSoundOn);
  lastSoundState = state;
}

}  // namespace

void runGlobalControls() {
  stopAllWhenAsked();
  followSimulatorSound();
}

}  // namespace vorlanex
