#include "commands/command_scan.h"

#include "audio/sound_buffers.h"
#include "commands/command_value.h"
#include "commands/global_controls.h"
#include "commands/slot_play_state.h"
#include "commands/sound_state.h"
#include "config/load_configuration.h"
#include "config/slot_table.h"
#include "config/volume_percent.h"
#include "panel/host_panels.h"
#include "panel/status_variables.h"
#include "platform/file_probe.h"

namespace vorlanex {
namespace {

// Sets a newly loaded sound's volume from the simulator's switch as last
// seen: muted while the sound is off, its own volume otherwise.
void applySoundStateVolume(const SoundSlot& slot, SoundIndex index) {
  if (storedVolumesHeard()) {
    setVolume(index, truncateToInt32(slot.volume));
  } else if (lastSoundState == kSoundOff) {
    setVolume(index, kSilentVolume);
  }
}

// Loads the sound on its first command other than stop. A missing file
// writes the error value into the variable and is probed again next time;
// a file that exists is loaded once, whatever the load makes of it.
bool ensureLoaded(SoundSlot& slot, SoundIndex index, std::int32_t code) {
  if (slot.loaded != 0) return true;
  if (!platform::fileOpensForReading(slot.wavePath)) {
    slot.started = 0;
    setNamedVariableValue(slot.varId, soundTable.errorValue);
    return false;
  }
  slot.loaded = 1;
  loadSound(index, slot.wavePath);
  if (code == kCommandPlayOnce || code == kCommandLoop) applySoundStateVolume(slot, index);
  return true;
}

void reportVolumePlayed(SoundIndex index) {
  const VariableId id = lookupNamedVariable(kVolumePlayedVariable);
  setNamedVariableValue(id, bufferVolumeToPercent(getVolume(index)));
}

// A sound that cannot play (its file gave no buffer, or the device would not
// play it) gets the error value in its variable, as a missing file does, so a
// gauge waiting for the sound to end is not left waiting forever.
void reportUnplayable(SoundSlot& slot) {
  slot.started = 0;
  slot.status = kStatusIdle;
  setNamedVariableValue(slot.varId, soundTable.errorValue);
}

void start(SoundSlot& slot, SoundIndex index, std::int32_t pan, bool looping) {
  setPan(index, pan);
  if (playSound(index, looping) != kOk) {
    reportUnplayable(slot);
    return;
  }
  slot.started = 1;
  slot.status = looping ? kStatusLooping : kStatusPlayingOnce;
  reportVolumePlayed(index);
}

void stop(SoundSlot& slot, SoundIndex index) {
  if (slot.loaded == 0) return;
  if (slotPlaying(slot, index)) stopSound(index, true);
  slot.started = 0;
  slot.status = kStatusIdle;
}

void playOnce(SoundSlot& slot, SoundIndex index, std::int32_t pan) {
  switch (slotPlayState(slot, index)) {
    case PlayState::kNoBuffer:
      reportUnplayable(slot);
      break;
    case PlayState::kStopped:
      if (slot.started == 0) {
        start(slot, index, pan, false);
      } else {
        // The one-shot has ended: hand the variable back.
        slot.started = 0;
        slot.status = kStatusIdle;
        setNamedVariableValue(slot.varId, 0);
      }
      break;
    case PlayState::kPlaying:
      // A running loop refuses to be played once; a one-shot plays on.
      if (slot.status == kStatusLooping) setNamedVariableValue(slot.varId, kStatusLooping);
      break;
  }
}

void loop(SoundSlot& slot, SoundIndex index, std::int32_t pan) {
  switch (slotPlayState(slot, index)) {
    case PlayState::kNoBuffer:
      reportUnplayable(slot);
      break;
    case PlayState::kStopped:
      start(slot, index, pan, true);
      break;
    case PlayState::kPlaying:
      break;
  }
}

void applyMasterVolume(SoundSlot& slot, SoundIndex index) {
  const double hundredths =
      percentToHundredths(getNamedVariableValue(lookupNamedVariable(kMasterVolumeVariable)));
  if (storedVolumesHeard()) setVolume(index, truncateToInt32(hundredths));
  // Kept even while the sound is off, to be applied when it comes back on.
  slot.volume = static_cast<float>(hundredths);
  setNamedVariableValue(slot.varId, slot.status);
}

void reportVolume(SoundSlot& slot, SoundIndex index) {
  const VariableId master = lookupNamedVariable(kMasterVolumeVariable);
  setNamedVariableValue(master, bufferVolumeToPercent(getVolume(index)));
  setNamedVariableValue(slot.varId, slot.status);
}

void act(SoundSlot& slot, SoundIndex index, DecodedCommand command) {
  switch (command.code) {
    case kCommandStop:
      stop(slot, index);
      return;
    case kCommandPlayOnce:
    case kCommandLoop:
    case kCommandApplyMasterVolume:
    case kCommandReportVolume:
      break;
    default:
      return;  // 5 to 99, and the wrapped code of -2^31: no command
  }
  if (!ensureLoaded(slot, index, command.code)) return;
  switch (command.code) {
    case kCommandPlayOnce:
      playOnce(slot, index, command.pan);
      break;
    case kCommandLoop:
      loop(slot, index, command.pan);
      break;
    case kCommandApplyMasterVolume:
      applyMasterVolume(slot, index);
      break;
    default:
      reportVolume(slot, index);
      break;
  }
}

}  // namespace

void scanCommands() {
  if (configured != 1) return;
  for (int i = 0; i < soundTable.soundCount; ++i) {
    SoundSlot& slot = soundTable.slots[i];
    slot.varId = lookupNamedVariable(slot.varName);
    const DecodedCommand command =
        decodeCommand(truncateToInt32(getNamedVariableValue(slot.varId)));
    slot.command = command.code;
    act(slot, static_cast<SoundIndex>(i), command);
  }
  runGlobalControls();
}

}  // namespace vorlanex
