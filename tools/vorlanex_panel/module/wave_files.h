// The sounds' WAV files as the module takes them: what its WAV reader makes
// of each, and the problems a panel author should hear about.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/result_codes.h"
#include "audio/wave_reader.h"
#include "config/slot_table.h"
#include "problem.h"

namespace vorlanex::tool {

// One sound's file, taken the way the module takes it on the sound's first
// command: the file probe, the WAV reader, then a buffer asked of the sound
// device.
struct SoundFileReading {
  enum class Outcome {
    kMissing,     // the probe cannot open it: the sound writes the error value
    kUnreadable,  // the WAV reader refuses it (see `failure`)
    kRead,        // the reader took it: `format` and `dataBytes` hold
  };
  Outcome outcome = Outcome::kMissing;
  OpenFailure failure = OpenFailure::kNone;
  WaveFormat format = {};      // the format fields, without any extra bytes
  std::uint32_t dataBytes = 0;  // the size the "data" chunk declares
  std::uint32_t heldBytes = 0;  // the sample bytes the file holds: fewer when cut short
  bool offered = false;         // a device was there to be asked for a buffer
  Result device = kOk;          // its answer, when offered
};

struct SoundFiles {
  bool deviceOpened = false;
  Result deviceAnswer = kOk;  // the device's opening: a refused cooperative level keeps it
  std::vector<SoundFileReading> readings;  // one per configured sound, by index
};

// Reads every configured sound's file. Paths are relative to the current
// directory, the simulator's root folder. Opens the module's sound device for
// the time it takes and closes it again.
SoundFiles readSoundFiles(const SoundTable& table);

// The problems of the readings: a file that is missing, one the reader
// refuses (and at which stage), one cut short inside its samples, one the
// device refuses (and why, where it can be told). `keys`
// names the SoundNN line of each sound ("Sound03"), 0 for a default path.
Problems checkSoundFiles(const std::string& file, const SoundTable& table, const KeyLines& keys,
                         const SoundFiles& files);

// "format tag 1, 1 channel, 22050 Hz, 16 bits", as the problems name a format.
std::string describeFormat(const WaveFormat& format);

// A reading in a few words, the same on every build: "missing", "not
// readable: no "data" chunk", or the format with block align and data bytes.
std::string describeReading(const SoundFileReading& reading);

}  // namespace vorlanex::tool
