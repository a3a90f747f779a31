// The voices both mixers play in the mixing benchmark: looping 16-bit
// sources, alternately mono at 22.05 kHz (1.5 s) and stereo at 44.1 kHz
// (2 s), each with its own volume and pan.
#pragma once

#include <cstdint>
#include <vector>

namespace vorlanex::bench {

struct VoiceSource {
  unsigned channels;
  unsigned rate;
  std::vector<std::int16_t> samples;  // interleaved
  int volume;                         // hundredths of a decibel, -10000..0
  int pan;                            // -10000 (left) .. 10000 (right)
};

// Voice `index` of the benchmark: the same for every mixer.
VoiceSource voiceSource(int index);

}  // namespace vorlanex::bench
