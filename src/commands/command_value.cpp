#include "commands/command_value.h"

#include <cmath>

namespace vorlanex {

std::int32_t truncateToInt32(double value) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  // The comparisons are false for NaN, which therefore gives 0 as well.
  if (!(value > -kTwoTo63 && value < kTwoTo63)) return 0;
  const auto wide = static_cast<std::int64_t>(value);  // truncates toward zero
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

namespace {

std::int32_t heldPan(std::int32_t pan) {
  return pan < kPanLeft ? kPanLeft : pan > kPanRight ? kPanRight : pan;
}

}  // namespace

DecodedCommand decodeCommand(std::int32_t n) {
  if (n >= 0) return {n % 100, heldPan(n / 100)};
  // The negation wraps in 32 bits, so -2^31 stays negative.
  const auto negated = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(n));
  return {negated % 100, heldPan(-(negated / 100))};
}

std::int32_t bufferVolumeToPercent(std::int32_t hundredths) { return hundredths / 100 + 100; }

}  // namespace vorlanex
