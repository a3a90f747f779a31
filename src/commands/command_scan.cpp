#include "commands/command_scan.h"

#include "audio/sound_buffers.h"
#include "commands/command_value.h"
#include "commands/global_controls.h"
#include "commands/sound_state.h"
#include "config/load_configuration.h"
#include "config/slot_table.h"
#include "panel/host_panels.h"
#include "panel/status_variables.h"
#include "platform/file_probe.h"

namespace vorlanex {
namespace {

// Sets a newly loaded sound's volume from the simulator's switch as last
// seen; before the switch was first read the buffer keeps its own volume.
void applySoundStateVolume(const SoundSlot& slot, SoundIndex index) {
  if (lastSoundState == kSoundOn) {
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

// A sound whose file exists but gave no buffer can never play. Its variable
// gets the error value, as for a missing file, so a gauge waiting for the
// sound to end is not left waiting forever.
void reportUnplayable(SoundSlot& slot) {
  slot.started = 0;
  slot.status = 0;
  setNamedVariableValue(slot.varId, soundTable.errorValue);
}

void start(SoundSlot& slot, SoundIndex index, std::int32_t pan, bool looping) {
  setPan(index, pan);
  playSound(index, looping);
  slot.started = 1;
  slot.status = looping ? 2 : 1;
  reportVolumePlayed(index);
}

void stop(SoundSlot& slot, SoundIndex index) {
  if (slot.loaded == 0) return;
  if (isPlaying(index) != 0) stopSound(index, true);
  slot.started = 0;
  slot.status = 0;
}

void playOnce(SoundSlot& slot, SoundIndex index, std::int32_t pan) {
  const Result playing = isPlaying(index);
  if (playing < 0) {
    reportUnplayable(slot);
  } else if (playing == 0 && slot.started == 1) {
    // The one-shot has ended: hand the variable back.
    slot.started = 0;
    slot.status = 0;
    setNamedVariableValue(slot.varId, 0);
  } else if (isPlaying(index) == 0 && slot.started == 0) {
    start(slot, index, pan, false);
  } else if (isPlaying(index) != 0 && slot.status == 2) {
    // A running loop refuses to be played once.
    setNamedVariableValue(slot.varId, 2);
  }
}

void loop(SoundSlot& slot, SoundIndex index, std::int32_t pan) {
  const Result playing = isPlaying(index);
  if (playing < 0) {
    reportUnplayable(slot);
  } else if (playing == 0) {
    start(slot, index, pan, true);
  }
}

void applyMasterVolume(SoundSlot& slot, SoundIndex index) {
  double master = getNamedVariableValue(lookupNamedVariable(kMasterVolumeVariable));
  if (master < 0) master = 0;
  if (master > 100) master = 100;
  const double hundredths = (master - 100) * 100;
  if (lastSoundState == kSoundOn) setVolume(index, truncateToInt32(hundredths));
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
