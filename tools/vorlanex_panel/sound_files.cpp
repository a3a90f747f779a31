#include "sound_files.h"

#include <cstdio>

#include "audio/audio_device.h"
#include "audio/sound_buffers.h"
#include "audio/wave_reader.h"
#include "platform/file_probe.h"

namespace vorlanex::panel {
namespace {

std::string soundKey(int index) {
  char key[16];
  std::snprintf(key, sizeof key, "Sound%02d", index);
  return key;
}

std::string describe(const WaveFormat& format) {
  char text[128];
  std::snprintf(text, sizeof text, "format tag %u, %u channel%s, %u Hz, %u bits",
                format.wFormatTag, format.nChannels, format.nChannels == 1 ? "" : "s",
                format.nSamplesPerSec, format.wBitsPerSample);
  return text;
}

std::string hex(long code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code) & 0xFFFFFFFFul);
  return text;
}

}  // namespace

// Each file goes the way the module takes it on its first command: the file
// probe, the module's WAV reader, then a buffer asked of the sound device.
Problems checkSoundFiles(const std::string& file, const SoundTable& table, const KeyLines& keys) {
  Problems problems;
  const bool device = openDevice() == kOk;
  if (!device) {
    problems.push_back({Severity::kWarning, file, 0, "",
                        "no sound device here: the WAV formats were not offered to one"});
  }
  const std::string error = std::to_string(table.errorValue);
  for (int i = 0; i < table.soundCount; ++i) {
    const SoundSlot& slot = table.slots[i];
    const std::string key = soundKey(i);
    const int line = keys.lineOf(key);
    const std::string path = std::string("'") + slot.wavePath + "'";
    if (!platform::fileOpensForReading(slot.wavePath)) {
      problems.push_back({Severity::kError, file, line, key,
                          "WAV file " + path + " is missing: asked to play, the sound writes " +
                              error + " into " + slot.varName});
      continue;
    }
    WaveReader reader;
    if (reader.open(slot.wavePath) != kOk) {
      problems.push_back({Severity::kError, file, line, key,
                          "the module cannot read " + path + ": " +
                              describeOpenFailure(reader.lastOpenFailure())});
      continue;
    }
    if (!device) continue;
    const auto index = static_cast<SoundIndex>(i);
    const Result created = createBuffer(index, slot.wavePath);
    if (created != kOk) {
      problems.push_back({Severity::kError, file, line, key,
                          "the sound device refuses " + path + " (" + describe(*reader.format) +
                              "): " + hex(created)});
    }
    releaseSound(index);
  }
  closeDevice();
  return problems;
}

}  // namespace vorlanex::panel
