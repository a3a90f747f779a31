// What the example's cabin tour sounds like: the WAV file that
// `vorlanex-panel run --panel ... --render` wrote of
// examples/panel/scripts/cabin_tour.txt (the aircraft's XML gauges clicked and
// run beside the module, natively on the engine's virtual clock), read back
// and listened to where the tour's steps say something must or must not be
// heard.
#include <gtest/gtest.h>

#include "rendered_sound.h"

namespace {

using namespace vorlanex::test;

constexpr double kFrame = 1.0 / 18.0;
// On the virtual clock a sound starts and stops at its frame's time exactly;
// the margin keeps the resampler's few milliseconds around a start or an end
// out of each stretch.
constexpr double kMargin = 0.02;
// From 3.5 s the fan loops at 50 % (1 dB down per percent) and peaks near
// -58 dB; the engine loops at 85 % and more, above -23 dB.
constexpr Level kFanAlone{kHeardDb, -50.0};
constexpr Level kEngine{-30.0, 0.0};

const Sound& tour() {
  static const Sound sound = readSound(VORLANEX_CABIN_TOUR_RENDER);
  return sound;
}

TEST(ExampleRenderCabinTour, IsTheWholeTour) {
  EXPECT_EQ(tour().channels, 2);
  EXPECT_EQ(tour().rate, 48000.0);
  // The last steps, "at 22 click" the stop-all, "wait 0.1" and "wait 1".
  EXPECT_NEAR(tour().seconds(), 23.1, 2 * kFrame);
}

// The relay lasts 61 ms and the chime 1.005 s (make_example_sounds); the
// other times are the tour's steps.
TEST(ExampleRenderCabinTour, IsHeardOrSilentAsItsStepsSay) {
  expectStretches(
      tour(),
      {
          {0.0, 1.0, kSilent, "at 0.5 the chime's button, pressed without power, plays nothing"},
          {1.0, 1.061, kHeard, "at 1 the battery switch clicks the relay"},
          {1.061, 1.5, kSilent, "the relay has ended"},
          {1.5, 2.505, kHeard, "at 1.5 the chime, powered now"},
          {2.505, 3.0, kSilent, "the chime has ended"},
          {3.0, 10.0, kHeard, "from 3 the fan loops, the door's sounds and the seat-belt chime over it"},
          {10.0, 15.0, kEngine, "from 10 the engine loops, louder as its RPM climbs"},
          {15.0, 17.5, kFanAlone, "at 15 the engine's loop stops at once, the fan's goes on"},
          {17.5, 18.0, kSilent, "at 17.5 the simulator's sound is off"},
          {18.0, 19.0, kFanAlone, "at 18 it is on again, and the fan heard"},
          {19.0, 19.061, kHeard, "at 19 the battery goes off: the relay clicks"},
          {19.061, 20.0, kSilent, "and the fan stops for want of power"},
          {20.0, 21.0, kHeard, "at 20 the battery on again: the relay, and the fan loops"},
          {21.0, 21.5, kSilent, "at 21 the rocker's lower half stops the fan"},
          {21.5, 22.0, kFanAlone, "at 21.5 its upper half starts it again"},
          {22.0, 23.1, kSilent, "at 22 the stop-all stops every sound"},
      },
      kMargin);
}

}  // namespace
