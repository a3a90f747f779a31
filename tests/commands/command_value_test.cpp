// How a number written by an XML gauge becomes a command and a pan.
#include "commands/command_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vorlanex {
namespace {

struct ValueCase {
  double value;
  std::int32_t integer;
  std::int32_t code;
  std::int32_t pan;
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTwoTo63 = 9223372036854775808.0;

TEST(CommandValue, DecodesWhatGaugesWrite) {
  const ValueCase cases[] = {
      {0.0, 0, 0, 0},
      {1.9, 1, 1, 0},            // truncated, not rounded
      {-1.0, -1, 1, 0},          // a negative value keeps a non-negative code
      {-0.99, 0, 0, 0},          // toward zero
      {99.0, 99, 99, 0},
      {100.0, 100, 0, 1},        // a stop with pan 1
      {205.0, 205, 5, 2},        // code 5: no action
      {-250.0, -250, 50, -2},
      {10001.0, 10001, 1, 100},
      {-500002.0, -500002, 2, -5000},
      {4294967297.0, 1, 1, 0},   // only the low 32 bits count
      // Pans beyond full left or right are held there.
      {1000101.0, 1000101, 1, 10000},
      {-1000002.0, -1000002, 2, -10000},
      {2147483647.0, 2147483647, 47, 10000},
      {4294967296.0 + 2147483648.0, -2147483647 - 1, -48, 10000},
      {-2147483648.0, -2147483647 - 1, -48, 10000},  // the negation wraps
      {2147483648.0, -2147483647 - 1, -48, 10000},
      {std::nan(""), 0, 0, 0},
      {kInfinity, 0, 0, 0},
      {-kInfinity, 0, 0, 0},
      {kTwoTo63, 0, 0, 0},
      {-kTwoTo63, 0, 0, 0},
      {1e300, 0, 0, 0},
      // The largest double below 2^63 still converts: 2^63 - 1024, low bits.
      {std::nextafter(kTwoTo63, 0.0), -1024, 24, -10},
  };
  for (const ValueCase& c : cases) {
    const std::int32_t n = truncateToInt32(c.value);
    EXPECT_EQ(n, c.integer) << c.value;
    const DecodedCommand decoded = decodeCommand(n);
    EXPECT_EQ(decoded.code, c.code) << c.value;
    EXPECT_EQ(decoded.pan, c.pan) << c.value;
  }
}

TEST(CommandValue, BufferVolumeTruncatesTowardZeroIntoPercent) {
  const std::int32_t cases[][2] = {
      {0, 100}, {-2550, 75}, {-2599, 75}, {-2000, 80}, {-10000, 0}, {-99, 100}, {-101, 99}};
  for (const auto& c : cases) EXPECT_EQ(bufferVolumeToPercent(c[0]), c[1]) << c[0];
}

// The tool writes commands with encodeCommand: the module must read back
// exactly the code and pan it meant, on both sides and at the edges.
TEST(CommandValue, EncodedCommandsDecodeToTheirCodeAndPan) {
  for (std::int32_t pan = -10000; pan <= 10000; pan += 125) {
    for (std::int32_t code = 0; code < 100; code += 7) {
      const DecodedCommand decoded = decodeCommand(encodeCommand(code, pan));
      EXPECT_EQ(decoded.code, code) << pan;
      EXPECT_EQ(decoded.pan, pan) << code;
    }
  }
}

}  // namespace
}  // namespace vorlanex
