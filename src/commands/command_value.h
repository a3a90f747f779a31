// What a number in a sound's variable means: the pure decoding kernel of the
// per-frame scan.
#pragma once

#include <cstdint>

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
// Defined for every double.
std::int32_t truncateToInt32(double value);

constexpr std::int32_t kPanLeft = -10000;
constexpr std::int32_t kPanRight = 10000;

// Splits n into the command code (its last two decimal digits) and the pan
// (the rest, carrying n's sign): -250 is code 50 with pan -2, 10001 is code 1
// with pan 100. A pan beyond full left or right is held there, since the
// device would refuse it and play the last pan instead: 1000101 pans 10000.
// For -2^31, whose negation wraps, the code comes out as -48: no command.
DecodedCommand decodeCommand(std::int32_t n);

// Panel volumes are percent, buffer volumes hundredths of a decibel (0 full,
// -10000 silent). Buffer to percent truncates toward zero: -2550 is 75.
std::int32_t bufferVolumeToPercent(std::int32_t hundredths);

}  // namespace vorlanex
