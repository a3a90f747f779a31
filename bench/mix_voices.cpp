#include "mix_voices.h"

#include <cmath>

namespace vorlanex::bench {

VoiceSource voiceSource(int index) {
  VoiceSource v;
  v.channels = index % 2 == 0 ? 1 : 2;
  v.rate = v.channels == 1 ? 22050 : 44100;
  const unsigned frames = v.channels == 1 ? v.rate * 3 / 2 : v.rate * 2;
  v.volume = -(index * 137 % 1800);
  v.pan = index * 2417 % 20001 - 10000;
  // A tone of its own with a slow tremolo, so no two voices are alike.
  const double hertz = 110.0 * (1 + index % 24 / 6.0);
  v.samples.resize(std::size_t{frames} * v.channels);
  for (unsigned i = 0; i < frames; ++i) {
    const double t = double(i) / v.rate;
    const double s = std::sin(2 * M_PI * hertz * t) * (0.6 + 0.3 * std::sin(2 * M_PI * 3 * t));
    for (unsigned c = 0; c < v.channels; ++c) {
      v.samples[std::size_t{i} * v.channels + c] =
          static_cast<std::int16_t>(s * (c ? 20000 : 24000));
    }
  }
  return v;
}

}  // namespace vorlanex::bench
