// Writes the example panel's WAV files into the panel folder given, so that
// scripts/run-example.sh shows each kind of answer the module's reader gives:
// a plain PCM sound, a float sound whose "fmt " chunk has no extra-size field,
// and a sound saved as AIFF under a .wav name. fan.wav is left missing.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "wave_bytes.h"

namespace {

using namespace vorlanex::wavebytes;

// `frames` frames of a sine of `hertz` at `rate`, as 16-bit mono samples.
std::string sine16(double hertz, std::uint32_t rate, int frames) {
  std::string samples;
  for (int i = 0; i < frames; ++i) {
    const double value = 12000.0 * std::sin(2.0 * 3.14159265358979 * hertz * i / rate);
    samples += u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))));
  }
  return samples;
}

// The same, as 32-bit float stereo samples (both channels alike).
std::string sineFloatStereo(double hertz, std::uint32_t rate, int frames) {
  std::string samples;
  for (int i = 0; i < frames; ++i) {
    const float value =
        static_cast<float>(0.3 * std::sin(2.0 * 3.14159265358979 * hertz * i / rate));
    const std::string bytes(reinterpret_cast<const char*>(&value), sizeof value);
    samples += bytes + bytes;
  }
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PANEL_FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path cabin = std::filesystem::path(argv[1]) / "Sound" / "Cabin";
  std::filesystem::create_directories(cabin);
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"chime.wav", wave(formatFields(1, 1, 22050, 16), sine16(880.0, 22050, 5512))},
      {"door.wav",
       riff("WAVE", chunk("fmt ", formatFields(3, 2, 44100, 32)) + chunk("fact", u32(4410)) +
                        chunk("data", sineFloatStereo(110.0, 44100, 4410)))},
      {"seatbelt.wav", "FORM" + u32(46) + "AIFFCOMM" + u32(18) + std::string(18, '\0') + "SSND" +
                           u32(8) + std::string(8, '\0')},
  };
  for (const auto& file : files) {
    std::ofstream(cabin / file.name, std::ios::binary) << file.bytes;
  }
  return 0;
}
