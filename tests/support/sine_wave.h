// WAV files of a sine, written by the tests: what a level can be measured on.
#pragma once

#include <cstdint>
#include <string>

namespace vorlanex::test {

struct SineFile {
  std::uint16_t channels = 1;
  std::uint32_t rate = 22050;
  std::uint16_t bits = 16;  // 8 or 16
  double seconds = 0.25;
  double frequency = 1000.0;
};

// The whole file: a full-scale sine in every channel.
std::string sineWave(const SineFile& sine);

// The size of its "data" chunk.
std::uint32_t sineDataBytes(const SineFile& sine);

}  // namespace vorlanex::test
