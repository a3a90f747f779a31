#include "config/ini_layout.h"
#include "wave_files.h"

#include <cstdio>

#include "audio/audio_device.h"
#include "audio/sound_buffers.h"
#include "device_refusals.h"
#include "platform/file_probe.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

std::string number(std::uint32_t value) { return std::to_string(value); }

SoundFileReading readSoundFile(IDirectSound* device, const char* path) {
  SoundFileReading reading;
  if (!platform::fileOpensForReading(path)) return reading;
  WaveReader reader;
  if (reader.open(path) != kOk) {
    reading.outcome = SoundFileReading::Outcome::kUnreadable;
    reading.failure = reader.lastOpenFailure();
    return reading;
  }
  reading.outcome = SoundFileReading::Outcome::kRead;
  reading.format = *reader.format;
  reading.dataBytes = reader.dataChunk.cksize;
  reading.heldBytes = reader.dataBytesHeld();
  if (device != nullptr) {
    reading.offered = true;
    SoundBuffer sound;
    reading.device = createBuffer(sound, device, path);
    releaseSound(sound);
  }
  return reading;
}

}  // namespace

SoundFiles readSoundFiles(const SoundTable& table) {
  SoundFiles files;
  IDirectSound* device = nullptr;
  files.deviceAnswer = openDevice(device);
  files.deviceOpened = device != nullptr;
  for (int i = 0; i < table.soundCount; ++i) {
    files.readings.push_back(readSoundFile(device, table.slots[i].wavePath));
  }
  closeDevice(device);
  return files;
}

Problems checkSoundFiles(const std::string& file, const SoundTable& table, const KeyLines& keys,
                         const SoundFiles& files) {
  Problems problems;
  if (!files.deviceOpened) {
    problems.push_back({Severity::kWarning, file, 0, "",
                        "no sound device here: the WAV formats were not offered to one"});
  } else if (files.deviceAnswer != kOk) {
    // The module keeps such a device and plays on it.
    problems.push_back({Severity::kNote, file, 0, "",
                        "the sound device refused its cooperative level (" +
                            resultCodeText(files.deviceAnswer) + ") but plays all the same"});
  }
  const std::string error = std::to_string(table.errorValue);
  for (std::size_t i = 0; i < files.readings.size(); ++i) {
    const SoundFileReading& reading = files.readings[i];
    const SoundSlot& slot = table.slots[i];
    const std::string key = indexedKey(ini::kSoundKeyPrefix, static_cast<int>(i));
    const int line = keys.lineOf(key);
    const std::string path = std::string("'") + slot.wavePath + "'";
    if (reading.outcome == SoundFileReading::Outcome::kMissing) {
      problems.push_back({Severity::kError, file, line, key,
                          "WAV file " + path + " is missing: asked to play, the sound writes " +
                              error + " into " + slot.varName});
    } else if (reading.outcome == SoundFileReading::Outcome::kUnreadable) {
      problems.push_back(
          {Severity::kError, file, line, key,
           "the module cannot read " + path + ": " + describeOpenFailure(reading.failure)});
    } else if (reading.offered && reading.device != kOk) {
      problems.push_back({Severity::kError, file, line, key,
                          "the sound device refuses " + path + " (" +
                              describeFormat(reading.format) + "): " + describeRefusal(reading) +
                              "; asked to play, the sound writes " + error + " into " +
                              slot.varName});
    }
    if (reading.outcome == SoundFileReading::Outcome::kRead && reading.heldBytes < reading.dataBytes) {
      problems.push_back({Severity::kWarning, file, line, key,
                          path + " ends inside its samples: it declares " +
                              number(reading.dataBytes) + " bytes and holds " +
                              number(reading.heldBytes) + "; the sound plays only those"});
    }
  }
  return problems;
}

std::string describeFormat(const WaveFormat& format) {
  char text[128];
  std::snprintf(text, sizeof text, "format tag %u, %u channel%s, %u Hz, %u bits", format.wFormatTag,
                format.nChannels, format.nChannels == 1 ? "" : "s",
                static_cast<unsigned>(format.nSamplesPerSec), format.wBitsPerSample);
  return text;
}

std::string describeReading(const SoundFileReading& reading) {
  switch (reading.outcome) {
    case SoundFileReading::Outcome::kMissing:
      return "missing";
    case SoundFileReading::Outcome::kUnreadable:
      return std::string("not readable: ") + describeOpenFailure(reading.failure);
    case SoundFileReading::Outcome::kRead:
      break;
  }
  std::string text = describeFormat(reading.format) + ", block align " +
                     std::to_string(reading.format.nBlockAlign) + ", " +
                     std::to_string(reading.dataBytes) + " data bytes";
  if (reading.heldBytes < reading.dataBytes) {
    text += ", " + std::to_string(reading.heldBytes) + " of them in the file";
  }
  return text;
}

}  // namespace vorlanex::tool
