// The soak's account of the protocol checked on its own, so that a fault in
// the checker is not taken for one in the module (or hides one).
#include "soak/protocol_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vorlanex::soak {
namespace {

TEST(ProtocolModel, ReadsPanelNumbersAsTheirLow32BitsTruncated) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    std::int32_t integer;
  } cases[] = {{1.9, 1},
               {-1.9, -1},
               {4294967297.0, 1},
               {2147483648.0, -2147483647 - 1},
               {-2147483649.0, 2147483647},
               {std::nan(""), 0},
               {kInfinity, 0},
               {-kInfinity, 0},
               {9223372036854775808.0, 0},
               {-9223372036854775808.0, 0},
               {9223372036854774784.0, -1024}};
  for (const auto& c : cases) EXPECT_EQ(panelInteger(c.value), c.integer) << c.value;
}

TEST(ProtocolModel, SplitsCodeAndPanWithThePansSign) {
  const struct {
    std::int32_t n;
    int code;
    std::int32_t pan;
  } cases[] = {{99, 99, 0},     {100, 0, 1},         {205, 5, 2}, {-250, 50, -2},
               {10001, 1, 100}, {-500002, 2, -5000}, {-1, 1, 0},  {-2147483647 - 1, -1, 0}};
  for (const auto& c : cases) {
    const Command command = commandOf(c.n);
    EXPECT_EQ(command.code, c.code) << c.n;
    EXPECT_EQ(command.pan, c.pan) << c.n;
  }
  EXPECT_EQ(percentOf(-2550), 75);
  EXPECT_EQ(percentOf(-10000), 0);
  EXPECT_EQ(percentOf(-99), 100);
}

// One sound: missing, then found and played once, ended, played again as a
// loop that refuses code 1, stopped by stop-all.
TEST(ProtocolModel, FollowsASoundThroughItsLife) {
  ProtocolModel model;
  model.files = {{FileKind::kMissing, 0}};
  ModelSound sound;
  sound.variable = 0;
  sound.file = 0;
  sound.volume = -2000;
  model.sounds = {sound};
  model.ids = {1, 2, 3, 4};
  model.errorValue = -1;
  model.preInstall(true, true);
  const std::uint32_t on = 1;
  Variables vars{1, 0, 0, 0, 0};

  model.frame(vars, &on);
  EXPECT_EQ(vars[0], -1) << "missing";
  EXPECT_EQ(vars[4], 1) << "indicator";
  model.files[0] = {FileKind::kValid, 4410};
  model.frame(vars, &on);
  EXPECT_EQ(model.created, std::vector<int>{0});
  EXPECT_EQ(vars[2], 80) << "played at its stored volume";
  EXPECT_TRUE(model.sounds[0].playing);
  model.ended(0);
  model.frame(vars, &on);
  EXPECT_EQ(vars[0], 0) << "handed back";
  vars[0] = 2;
  model.frame(vars, &on);
  vars[0] = 1;
  model.frame(vars, &on);
  EXPECT_EQ(vars[0], 2) << "a loop refuses";
  vars[1] = 0.5;
  model.frame(vars, &on);
  EXPECT_EQ(vars[0], 0);
  EXPECT_EQ(vars[1], 0);
  EXPECT_FALSE(model.sounds[0].playing);
  EXPECT_TRUE(model.sounds[0].rewound);
  EXPECT_EQ(model.heldFiles(), 1);
  model.disconnect();
  EXPECT_EQ(model.heldFiles(), 0);
}

// A lost buffer comes back within the passes and is refilled; a play whose
// buffer is given up, or whose refill fails, is told like a missing file.
TEST(ProtocolModel, RestoresAndRefillsAsTheDeviceAnswers) {
  ProtocolModel model;
  model.files = {{FileKind::kShortData, 100}};
  ModelSound sound;
  sound.variable = 0;
  sound.file = 0;
  model.sounds = {sound};
  model.ids = {1, 2, 3, 4};
  model.errorValue = -1;
  model.preInstall(true, false);
  Variables vars{2, 0, 0, 0, 7};
  model.frame(vars, nullptr);
  ASSERT_TRUE(model.sounds[0].playing) << "a short file plays what it holds";
  EXPECT_EQ(model.sounds[0].bytes, 100u);
  EXPECT_EQ(vars[4], 7) << "no simulator, no indicator";

  model.lose(0);
  model.faults.restoreAnswers = {DSERR_BUFFERLOST, DSERR_BUFFERLOST, DSERR_INVALIDCALL, DS_OK};
  model.frame(vars, nullptr);
  EXPECT_TRUE(model.sounds[0].playing) << "back in the second pass";
  EXPECT_EQ(model.pauses, 1u);

  model.lose(0);
  model.faults.lockFailures = 1;
  model.frame(vars, nullptr);
  EXPECT_FALSE(model.sounds[0].playing) << "the refill failed";
  EXPECT_EQ(vars[0], -1) << "told like a missing file";
  EXPECT_EQ(model.sounds[0].started, 0);

  model.lose(0);
  vars[0] = 2;
  vars[2] = 55;
  model.faults.restoreAnswers.assign(20, DSERR_INVALIDCALL);  // two calls in each of the passes
  model.frame(vars, nullptr);
  EXPECT_TRUE(model.sounds[0].lost) << "given up after all the passes";
  EXPECT_TRUE(model.faults.restoreAnswers.empty());
  EXPECT_EQ(model.tally.givenUp, 1);
  EXPECT_EQ(vars[0], -1);
  EXPECT_EQ(vars[2], 55) << "no volume played";
}

}  // namespace
}  // namespace vorlanex::soak
