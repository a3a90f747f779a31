// What a number in a sound's variable means: the pure decoding kernel of the
// per-frame scan.
#pragma once

#include <cstdint>

#include "sound_api.h"

namespace vorlanex {

// Command codes a sound's variable carries in its last two decimal digits.
enum CommandCode : std::int32_t {
  kCommandStop = 0,
  kCommandPlayOnce = 1,
  kCommandLoop = 2,
  kCommandApplyMasterVolume = 3,
  kCommandReportVolume = 4,
};

struct DecodedCommand {
  std::int32_t code;  // 0 to 99; anything else is no command
  std::int32_t pan;   // hundredths of a decibel, as DirectSound takes it
};

// A panel value as a 32-bit integer: truncated toward zero to 64 bits, of
// which the low 32 bits count. NaN and magnitudes of 2^63 or more give 0.
// Defined for every double. Inline, as the decoding below: the scan runs them
// for every sound in every frame.
inline std::int32_t truncateToInt32(double value) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  // The comparisons are false for NaN, which therefore gives 0 as well.
  if (!(value > -kTwoTo63 && value < kTwoTo63)) return 0;
  const auto wide = static_cast<std::int64_t>(value);  // truncates toward zero
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

// Splits n into the command code (its last two decimal digits) and the pan
// (the rest, carrying n's sign): -250 is code 50 with pan -2, 10001 is code 1
// with pan 100. A pan beyond full left or right is held there, since the
// device would refuse it and play the last pan instead: 1000101 pans 10000.
// For -2^31, whose negation wraps, the code comes out as -48: no command.
inline DecodedCommand decodeCommand(std::int32_t n) {
  if (n >= 0 && n < 100) return {n, 0};  // the common case: a bare code
  const auto held = [](std::int32_t pan) -> std::int32_t {
    constexpr auto left = static_cast<std::int32_t>(DSBPAN_LEFT);
    constexpr auto right = static_cast<std::int32_t>(DSBPAN_RIGHT);
    return pan < left ? left : pan > right ? right : pan;
  };
  if (n >= 0) return {n % 100, held(n / 100)};
  // The negation wraps in 32 bits, so -2^31 stays negative.
  const auto negated = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(n));
  return {negated % 100, held(-(negated / 100))};
}

// The number a gauge writes for `code` (0 to 99) at `pan` (hundredths of a
// decibel, -10000 left to 10000 right): the pan times 100 with the code
// after it, the whole carrying the pan's sign, so that decodeCommand gives
// both back. Pan -2 with code 50 is -250.
constexpr std::int32_t encodeCommand(std::int32_t code, std::int32_t pan) {
  return pan < 0 ? pan * 100 - code : pan * 100 + code;
}

// The pan a number carries as it is written, before the module holds it to
// the device's range: what a panel author meant by it.
constexpr std::int32_t writtenPan(std::int32_t n) { return n / 100; }

// Panel volumes are percent, buffer volumes hundredths of a decibel (0 full,
// -10000 silent). Buffer to percent truncates toward zero: -2550 is 75.
std::int32_t bufferVolumeToPercent(std::int32_t hundredths);

// The percent "zeb_volume_played" reports for a sound played at its stored
// volume (hundredths of a decibel, as the INI file's percent became): the
// buffer takes the volume truncated to whole hundredths, and reads back as
// above. 12.5 % reports 13, 80.4 % reports 81.
inline std::int32_t storedVolumePercent(float volume) {
  return bufferVolumeToPercent(truncateToInt32(volume));
}

}  // namespace vorlanex
