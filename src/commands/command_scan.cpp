#include "commands/command_scan.h"

#include "audio/sound_buffers.h"
#include "commands/command_value.h"
#include "commands/global_controls.h"
#include "commands/slot_play_state.h"
#include "config/volume_percent.h"
#include "panel/status_variables.h"
#include "platform/file_probe.h"

namespace vorlanex {
namespace {

// One sound's part of the state, for the frame's commands.
struct Sound {
  ModuleState& state;
  SoundSlot& slot;
  SoundBuffer& buffer;

  const PanelServices& panel() const { return state.panel; }
};

// Sets a newly loaded sound's volume from the simulator's switch as last
// seen: muted while the sound is off, its own volume otherwise.
void applySoundStateVolume(Sound& sound) {
  if (storedVolumesHeard(sound.state.simulator)) {
    setVolume(sound.buffer, truncateToInt32(sound.slot.volume));
  } else if (sound.state.simulator.lastState == kSoundOff) {
    setVolume(sound.buffer, DSBVOLUME_MIN);
  }
}

// Loads the sound on its first command other than stop. A missing file
// writes the error value into the variable and is probed again next time;
// a file that exists is loaded once, whatever the load makes of it. The
// load's result is not needed here: a sound left without a buffer is told as
// unplayable by the command that follows, and one whose fill failed is
// filled again when it is played.
bool ensureLoaded(Sound& sound, std::int32_t code) {
  SoundSlot& slot = sound.slot;
  if (slot.loaded != 0) return true;
  if (!platform::fileOpensForReading(slot.wavePath)) {
    slot.started = 0;
    sound.panel().set(slot.varId, sound.state.table.errorValue);
    return false;
  }
  slot.loaded = 1;
  loadSound(sound.buffer, sound.state.device, slot.wavePath);
  if (code == kCommandPlayOnce || code == kCommandLoop) applySoundStateVolume(sound);
  return true;
}

void reportVolumePlayed(Sound& sound) {
  const VariableId id = sound.panel().lookup(kVolumePlayedVariable);
  sound.panel().set(id, bufferVolumeToPercent(getVolume(sound.buffer)));
}

// A sound that cannot play (its file gave no buffer, or the device would not
// play it) gets the error value in its variable, as a missing file does, so a
// gauge waiting for the sound to end is not left waiting forever.
void reportUnplayable(Sound& sound) {
  sound.slot.started = 0;
  sound.slot.status = kStatusIdle;
  sound.panel().set(sound.slot.varId, sound.state.table.errorValue);
}

void start(Sound& sound, std::int32_t pan, bool looping) {
  // A pan the device refuses leaves the last one: the pan is held to the
  // device's range, so only a failing device refuses, and Play tells that.
  setPan(sound.buffer, pan);
  if (playSound(sound.buffer, looping) != kOk) {
    reportUnplayable(sound);
    return;
  }
  sound.slot.started = 1;
  sound.slot.status = looping ? kStatusLooping : kStatusPlayingOnce;
  reportVolumePlayed(sound);
}

void stop(Sound& sound) {
  SoundSlot& slot = sound.slot;
  if (slot.loaded == 0) return;
  if (slotMayPlay(slot, sound.buffer)) stopSound(sound.buffer, true);
  slot.started = 0;
  slot.status = kStatusIdle;
}

void playOnce(Sound& sound, std::int32_t pan) {
  SoundSlot& slot = sound.slot;
  switch (slotPlayState(slot, sound.buffer)) {
    case PlayState::kNoBuffer:
      reportUnplayable(sound);
      break;
    case PlayState::kStopped:
      if (slot.started == 0) {
        start(sound, pan, false);
      } else {
        // The one-shot has ended: hand the variable back.
        slot.started = 0;
        slot.status = kStatusIdle;
        sound.panel().set(slot.varId, 0);
      }
      break;
    case PlayState::kPlaying:
      // A running loop refuses to be played once; a one-shot plays on.
      if (slot.status == kStatusLooping) sound.panel().set(slot.varId, kStatusLooping);
      break;
    case PlayState::kUnknown:
      break;  // the device is asked again next frame
  }
}

void loop(Sound& sound, std::int32_t pan) {
  switch (slotPlayState(sound.slot, sound.buffer)) {
    case PlayState::kNoBuffer:
      reportUnplayable(sound);
      break;
    case PlayState::kStopped:
      start(sound, pan, true);
      break;
    case PlayState::kPlaying:
    case PlayState::kUnknown:
      break;
  }
}

void applyMasterVolume(Sound& sound) {
  const PanelServices& panel = sound.panel();
  const double hundredths =
      percentToHundredths(panel.get(panel.lookup(kMasterVolumeVariable)));
  if (storedVolumesHeard(sound.state.simulator)) {
    setVolume(sound.buffer, truncateToInt32(hundredths));
  }
  // Kept even while the sound is off, to be applied when it comes back on.
  sound.slot.volume = static_cast<float>(hundredths);
  panel.set(sound.slot.varId, sound.slot.status);
}

void reportVolume(Sound& sound) {
  const PanelServices& panel = sound.panel();
  panel.set(panel.lookup(kMasterVolumeVariable), bufferVolumeToPercent(getVolume(sound.buffer)));
  panel.set(sound.slot.varId, sound.slot.status);
}

void act(Sound& sound, DecodedCommand command) {
  switch (command.code) {
    case kCommandStop:
      stop(sound);
      return;
    case kCommandPlayOnce:
    case kCommandLoop:
    case kCommandApplyMasterVolume:
    case kCommandReportVolume:
      break;
    default:
      return;  // 5 to 99, and the wrapped code of -2^31: no command
  }
  if (!ensureLoaded(sound, command.code)) return;
  switch (command.code) {
    case kCommandPlayOnce:
      playOnce(sound, command.pan);
      break;
    case kCommandLoop:
      loop(sound, command.pan);
      break;
    case kCommandApplyMasterVolume:
      applyMasterVolume(sound);
      break;
    default:
      reportVolume(sound);
      break;
  }
}

}  // namespace

void scanCommands(ModuleState& state) {
  if (state.configured != 1) return;
  for (int i = 0; i < state.table.soundCount; ++i) {
    Sound sound{state, state.table.slots[i], state.sounds[i]};
    SoundSlot& slot = sound.slot;
    slot.varId = state.panel.lookup(slot.varName);
    const DecodedCommand command = decodeCommand(truncateToInt32(state.panel.get(slot.varId)));
    slot.command = command.code;
    act(sound, command);
  }
  runGlobalControls(state);
}

}  // namespace vorlanex
