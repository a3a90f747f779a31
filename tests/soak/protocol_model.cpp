#include "soak/protocol_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorlanex::soak {
namespace {

constexpr double kTwoTo31 = 2147483648.0;
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr int kRestorePasses = 10;  // the module gives up a lost buffer after these

bool inRange(std::int64_t value, std::int64_t low, std::int64_t high) {
  return value >= low && value <= high;
}

constexpr std::uint32_t kSmallestBuffer = 4;  // fewer bytes the device refuses

}  // namespace

// Worked in floating point, apart from the module's integer conversions: the
// integer part is exact in a double, and so is its remainder modulo 2^32.
std::int32_t panelInteger(double value) {
  if (std::isnan(value) || std::fabs(value) >= kTwoTo63) return 0;
  double low = std::fmod(std::trunc(value), kTwoTo32);
  if (low < 0) low += kTwoTo32;
  if (low >= kTwoTo31) low -= kTwoTo32;
  return static_cast<std::int32_t>(low);
}

Command commandOf(std::int32_t n) {
  // -2^31 has no positive counterpart in 32 bits: no command.
  if (n == std::numeric_limits<std::int32_t>::min()) return {-1, 0};
  const std::int64_t magnitude = n < 0 ? -static_cast<std::int64_t>(n) : n;
  // A pan beyond full left or right is held there.
  const std::int64_t pan = std::min<std::int64_t>(magnitude / 100, DSBPAN_RIGHT);
  return {static_cast<int>(magnitude % 100), static_cast<std::int32_t>(n < 0 ? -pan : pan)};
}

double percentOf(LONG hundredths) { return std::trunc(hundredths / 100.0) + 100; }

int ProtocolModel::heldFiles() const {
  int held = 0;
  for (const ModelSound& sound : sounds) held += sound.readerHeld ? 1 : 0;
  return held;
}

void ProtocolModel::lose(int index) {
  ModelSound& sound = sounds[static_cast<std::size_t>(index)];
  sound.lost = true;
  sound.playing = false;
  ++tally.lost;
}

void ProtocolModel::ended(int index) { sounds[static_cast<std::size_t>(index)].playing = false; }

void ProtocolModel::disconnect() {
  for (ModelSound& sound : sounds) {
    // Whatever played is stopped where it was and let go with its file.
    sound.loaded = false;
    sound.hasBuffer = false;
    sound.buffer = nullptr;
    sound.playing = false;
    sound.lost = false;
    sound.readerHeld = false;
  }
  deviceOpen = false;
}

void ProtocolModel::frame(Variables& vars, const std::uint32_t* simulatorSwitch) {
  created.clear();
  for (ModelSound& sound : sounds) sound.rewound = false;
  for (std::size_t i = 0; i < sounds.size(); ++i) scan(static_cast<int>(i), vars);
  stopAll(vars);
  followSwitch(simulatorSwitch, vars);
}

void ProtocolModel::scan(int index, Variables& vars) {
  ModelSound& sound = sounds[static_cast<std::size_t>(index)];
  const Command command = commandOf(panelInteger(vars[sound.variable]));
  if (command.code == 0) {
    if (!sound.loaded) return;  // never looked for: nothing to stop
    if (answersPlaying(sound)) stop(sound);
    ++tally.stops;
    sound.started = 0;
    sound.status = 0;
    return;
  }
  if (command.code < 1 || command.code > 4) return;
  if (!ensureLoaded(index, command.code, vars)) return;

  double& variable = vars[sound.variable];
  switch (command.code) {
    case 1:
    case 2:
      if (!sound.hasBuffer) {
        // The file is there but gave nothing to play: told like a missing one.
        unplayable(sound, vars);
        ++tally.unplayable;
      } else if (command.code == 2) {
        if (!sound.playing) start(sound, command.pan, true, vars);
      } else if (!sound.playing && sound.started == 1) {
        sound.started = 0;  // the one-shot ended: the gauge gets 0
        sound.status = 0;
        variable = 0;
        ++tally.handedBack;
      } else if (!sound.playing) {
        start(sound, command.pan, false, vars);
      } else if (sound.status == 2) {
        variable = 2;  // a loop is not played once
        ++tally.loopRefusals;
      }
      break;
    case 3: {
      double master = vars[ids.masterVolume];
      if (std::isnan(master) || master < 0) master = 0;
      if (master > 100) master = 100;
      const double hundredths = (master - 100) * 100;
      if (storedVolumesHeard()) setBufferVolume(sound, panelInteger(hundredths));
      sound.volume = static_cast<float>(hundredths);
      variable = sound.status;
      ++tally.volumesApplied;
      break;
    }
    default:
      // A sound without a buffer is never heard: it reports silence.
      vars[ids.masterVolume] = sound.hasBuffer ? percentOf(sound.bufferVolume) : 0;
      variable = sound.status;
      ++tally.volumesReported;
      break;
  }
}

bool ProtocolModel::ensureLoaded(int index, int code, Variables& vars) {
  ModelSound& sound = sounds[static_cast<std::size_t>(index)];
  if (sound.loaded) return true;
  const FileKind kind = files[static_cast<std::size_t>(sound.file)].kind;
  if (kind == FileKind::kMissing || kind == FileKind::kFolder) {
    sound.started = 0;
    vars[sound.variable] = errorValue;
    ++tally.missing;
    return false;
  }
  sound.loaded = true;
  load(sound);
  if (sound.hasBuffer) created.push_back(index);
  if (code == 1 || code == 2) {
    if (storedVolumesHeard()) setBufferVolume(sound, panelInteger(sound.volume));
    if (lastSoundState == 0) setBufferVolume(sound, -10000);
  }
  return true;
}

void ProtocolModel::load(ModelSound& sound) {
  const SoundFile& file = files[static_cast<std::size_t>(sound.file)];
  sound.readerHeld = false;  // until a buffer is made
  if (file.kind == FileKind::kNotWave || file.kind == FileKind::kNoData) return;
  if (!deviceOpen) return;
  // The device's create call: an armed failure is spent first.
  if (faults.createFailures > 0) {
    --faults.createFailures;
    ++tally.failedCreates;
    return;
  }
  if (file.kind == FileKind::kRefused || file.dataBytes < kSmallestBuffer) return;
  sound.hasBuffer = true;
  sound.readerHeld = true;
  sound.bytes = file.dataBytes;
  sound.playing = false;
  sound.looping = false;
  sound.lost = false;
  sound.bufferVolume = 0;
  sound.bufferPan = 0;
  sound.filled = fill(sound);  // a failed fill is tried again by the next play
}

// Reads what the buffer holds, which the file has, and locks the buffer for
// it: only an armed Lock failure fails.
bool ProtocolModel::fill(ModelSound&) {
  if (faults.lockFailures > 0) {
    --faults.lockFailures;
    ++tally.failedFills;
    return false;
  }
  return true;
}

// A lost buffer is restored and filled again, and one whose fill failed is
// filled, before it plays.
bool ProtocolModel::makePlayable(ModelSound& sound) {
  if (sound.lost) {
    if (!restore(sound)) return false;
    sound.filled = fill(sound);
  } else if (!sound.filled) {
    sound.filled = fill(sound);
  }
  return sound.filled;
}

// Passes of two Restore calls: the first decides whether to pause, the
// second whether the buffer is back. A buffer back after the first call
// answers the second at once without spending an armed answer.
bool ProtocolModel::restore(ModelSound& sound) {
  auto answer = [this] {
    if (faults.restoreAnswers.empty()) return DS_OK;
    const HRESULT code = faults.restoreAnswers.front();
    faults.restoreAnswers.pop_front();
    return code;
  };
  for (int pass = 0; pass < kRestorePasses; ++pass) {
    const HRESULT first = answer();
    if (first == DSERR_BUFFERLOST) ++pauses;
    if (first == DS_OK || answer() == DS_OK) {
      sound.lost = false;
      ++tally.restored;
      return true;
    }
  }
  ++tally.givenUp;
  return false;
}

void ProtocolModel::start(ModelSound& sound, std::int32_t pan, bool looping, Variables& vars) {
  if (inRange(pan, DSBPAN_LEFT, DSBPAN_RIGHT)) sound.bufferPan = pan;
  if (!makePlayable(sound)) {
    unplayable(sound, vars);
    ++tally.failedPlays;
    return;
  }
  sound.playing = true;
  sound.looping = looping;
  sound.started = 1;
  sound.status = looping ? 2 : 1;
  ++(looping ? tally.looped : tally.playedOnce);
  vars[ids.volumePlayed] = percentOf(sound.bufferVolume);
}

void ProtocolModel::unplayable(ModelSound& sound, Variables& vars) {
  sound.started = 0;
  sound.status = 0;
  vars[sound.variable] = errorValue;
}

void ProtocolModel::stop(ModelSound& sound) {
  if (!sound.hasBuffer) return;
  sound.playing = false;
  sound.rewound = true;
}

void ProtocolModel::setBufferVolume(ModelSound& sound, std::int32_t hundredths) {
  if (sound.hasBuffer && inRange(hundredths, DSBVOLUME_MIN, DSBVOLUME_MAX)) {
    sound.bufferVolume = hundredths;
  }
}

void ProtocolModel::stopAll(Variables& vars) {
  if (!(vars[ids.stopAll] > 0)) return;
  for (ModelSound& sound : sounds) {
    if (!sound.loaded || !answersPlaying(sound)) continue;
    stop(sound);
    sound.started = 0;
    vars[sound.variable] = 0;
  }
  vars[ids.stopAll] = 0;
  ++tally.stopAlls;
}

void ProtocolModel::followSwitch(const std::uint32_t* simulatorSwitch, Variables& vars) {
  if (!simulatorFound) {
    simulatorFound = simulatorSwitch != nullptr;  // read from the next frame on
    return;
  }
  vars[ids.indicator] = *simulatorSwitch & 0xFFu;
  const auto state = static_cast<std::int32_t>(*simulatorSwitch);
  if (state == lastSoundState) return;
  for (ModelSound& sound : sounds) {
    if (!sound.loaded) continue;
    if (state == 0) setBufferVolume(sound, -10000);
    if (state == 1) setBufferVolume(sound, panelInteger(sound.volume));
  }
  lastSoundState = state;
  ++tally.switchChanges;
}

}  // namespace vorlanex::soak
