#include "support/sine_wave.h"

#include <cmath>

#include "wave_bytes.h"

namespace vorlanex::test {

std::uint32_t sineDataBytes(const SineFile& sine) {
  const auto frames = static_cast<std::uint32_t>(sine.seconds * sine.rate);
  return frames * sine.channels * (sine.bits / 8u);
}

std::string sineWave(const SineFile& sine) {
  const double pi = std::acos(-1.0);
  const auto frames = static_cast<std::uint32_t>(sine.seconds * sine.rate);
  std::string samples;
  samples.reserve(sineDataBytes(sine));
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double value = std::sin(2 * pi * sine.frequency * i / sine.rate);
    for (int c = 0; c < sine.channels; ++c) {
      if (sine.bits == 8) {
        samples += static_cast<char>(static_cast<std::uint8_t>(std::lround(128 + 127 * value)));
      } else {
        samples += wavebytes::u16(static_cast<std::uint16_t>(std::lround(32767 * value)));
      }
    }
  }
  return wavebytes::wave(wavebytes::formatFields(1, sine.channels, sine.rate, sine.bits), samples);
}

}  // namespace vorlanex::test
