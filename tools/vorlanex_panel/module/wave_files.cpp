#include "wave_files.h"

#include <cstdio>
#include <iterator>
#include <map>
#include <vector>

#include "audio/audio_device.h"
#include "audio/sound_buffers.h"
#include "config/ini_layout.h"
#include "device_refusals.h"
#include "platform/file_probe.h"
#include "report_text.h"
#include "windows_files.h"

namespace vorlanex::tool {
namespace {

std::string number(std::uint32_t value) { return std::to_string(value); }

// The folder part of a Windows path, "" for a bare file name.
std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

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
  // Files missing with their folder are told once a folder: the folder is
  // what the author gets wrong (a wrong root, a folder not copied).
  std::map<std::string, std::vector<int>> missingFolders;
  for (std::size_t i = 0; i < files.readings.size(); ++i) {
    if (files.readings[i].outcome != SoundFileReading::Outcome::kMissing) continue;
    const std::string folder = folderOf(table.slots[i].wavePath);
    if (!folder.empty() && !panelFolderExists(folder)) {
      missingFolders[folder].push_back(static_cast<int>(i));
    }
  }
  for (auto it = missingFolders.begin(); it != missingFolders.end();) {
    // One file alone is told as itself.
    it = it->second.size() < 2 ? missingFolders.erase(it) : std::next(it);
  }
  for (const auto& [folder, sounds] : missingFolders) {
    const std::string key = indexedKey(ini::kSoundKeyPrefix, sounds.front());
    const std::string which = std::to_string(sounds.size()) + " sounds (" +
                              indexedKey("", sounds.front()) + " to " +
                              indexedKey("", sounds.back()) + ")";
    problems.push_back({Severity::kError, file, keys.lineOf(key), key,
                        "folder '" + folder + "' is missing: the WAV files of " + which +
                            " cannot be found; asked to play, each writes " + error +
                            " into its variable"});
  }
  for (std::size_t i = 0; i < files.readings.size(); ++i) {
    const SoundFileReading& reading = files.readings[i];
    const SoundSlot& slot = table.slots[i];
    const std::string key = indexedKey(ini::kSoundKeyPrefix, static_cast<int>(i));
    const int line = keys.lineOf(key);
    const std::string path = std::string("'") + slot.wavePath + "'";
    if (reading.outcome == SoundFileReading::Outcome::kMissing) {
      if (missingFolders.count(folderOf(slot.wavePath)) != 0) continue;
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
