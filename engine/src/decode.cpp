#include "decode.h"

#include <cmath>
#include <cstring>

namespace vorlanex::engine {
namespace {

// Little-endian signed integer of `width` bytes, as a fraction of full scale.
float signedSample(const std::uint8_t* p, unsigned width) {
  std::uint32_t raw = 0;
  for (unsigned i = 0; i < width; ++i) raw |= std::uint32_t{p[i]} << (8 * i);
  const unsigned shift = 32 - 8 * width;
  const auto value = static_cast<std::int32_t>(raw << shift);  // sign now in bit 31
  return static_cast<float>(value) * (1.0f / 2147483648.0f);
}

float floatSample(const std::uint8_t* p) {
  float value;
  std::memcpy(&value, p, sizeof value);
  if (!std::isfinite(value)) return 0.0f;
  return value > 1.0f ? 1.0f : value < -1.0f ? -1.0f : value;
}

}  // namespace

void decodeFrames(const SampleFormat& format, const std::uint8_t* bytes, std::size_t frames,
                  float* out) {
  const std::size_t samples = frames * format.channels;
  switch (format.encoding) {
    case Encoding::Unsigned8:
      for (std::size_t i = 0; i < samples; ++i) out[i] = (bytes[i] - 128) * (1.0f / 128.0f);
      break;
    case Encoding::Signed16:
      for (std::size_t i = 0; i < samples; ++i) out[i] = signedSample(bytes + 2 * i, 2);
      break;
    case Encoding::Signed24:
      for (std::size_t i = 0; i < samples; ++i) out[i] = signedSample(bytes + 3 * i, 3);
      break;
    case Encoding::Signed32:
      for (std::size_t i = 0; i < samples; ++i) out[i] = signedSample(bytes + 4 * i, 4);
      break;
    case Encoding::Float32:
      for (std::size_t i = 0; i < samples; ++i) out[i] = floatSample(bytes + 4 * i);
      break;
  }
}

}  // namespace vorlanex::engine
