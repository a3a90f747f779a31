#include "commands/global_controls.h"

#include "audio/sound_buffers.h"
#include "commands/command_value.h"
#include "commands/simulator_switch.h"
#include "commands/slot_play_state.h"
#include "panel/status_variables.h"

namespace vorlanex {
namespace {

void stopAllWhenAsked(ModuleState& state) {
  const PanelServices& panel = state.panel;
  StopAllVariable& stopAll = state.table.stopAll;
  stopAll.varId = panel.lookup(stopAll.varName);
  // 0, negative values and NaN are left alone.
  if (!(panel.get(stopAll.varId) > 0)) return;
  for (int i = 0; i < state.table.soundCount; ++i) {
    SoundSlot& slot = state.table.slots[i];
    SoundBuffer& sound = state.sounds[i];
    // A sound without a buffer counts too: its variable is handed back as 0.
    if (slot.loaded != 1 || slotPlayState(slot, sound) == PlayState::kStopped) continue;
    stopSound(sound, true);
    slot.started = 0;
    // The status is cleared by the stop command now in the variable.
    slot.varId = panel.lookup(slot.varName);
    panel.set(slot.varId, 0);
  }
  panel.set(stopAll.varId, 0);
}

void setLoadedVolumes(ModuleState& state, bool soundOn) {
  for (int i = 0; i < state.table.soundCount; ++i) {
    const SoundSlot& slot = state.table.slots[i];
    if (slot.loaded != 1) continue;
    setVolume(state.sounds[i], soundOn ? truncateToInt32(slot.volume) : DSBVOLUME_MIN);
  }
}

void followSimulatorSound(ModuleState& state) {
  const volatile std::uint32_t* flag = locateSoundSwitch(state.simulator);
  if (flag == nullptr) return;
  const std::uint32_t value = *flag;
  state.panel.set(state.panel.lookup(kSoundIndicatorVariable), value & 0xFFu);
  const auto switched = static_cast<std::int32_t>(value);
  if (switched == state.simulator.lastState) return;
  if (switched == kSoundOff || switched == kSoundOn) setLoadedVolumes(state, switched == kSoundOn);
  state.simulator.lastState = switched;
}

}  // namespace

void runGlobalControls(ModuleState& state) {
  stopAllWhenAsked(state);
  followSimulatorSound(state);
}

}  // namespace vorlanex
