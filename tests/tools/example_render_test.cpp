// What the example panel's tour of the module alone sounds like: the WAV file that
// `vorlanex-panel run ... --render` wrote of examples/panel/scripts/module_tour.txt
// (natively, on the engine's virtual clock), read back and listened to where
// the script says something must or must not be heard.
#include <gtest/gtest.h>

#include <cmath>

#include "rendered_sound.h"

namespace {

using namespace vorlanex::test;

// The tour's frames and the tolerance of every time below: two of them.
constexpr double kFrame = 1.0 / 18.0;
constexpr double kTolerance = 2 * kFrame;

class ExampleRender : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    tour_ = new Sound(readSound(VORLANEX_MODULE_TOUR_RENDER));
    chime_ = new Sound(readSound(VORLANEX_EXAMPLE_PANEL "/Sound/Cabin/chime.wav"));
  }
  static void TearDownTestSuite() {
    delete tour_;
    delete chime_;
  }
  static const Sound& tour() { return *tour_; }
  static const Sound& chime() { return *chime_; }

 private:
  static Sound* tour_;
  static Sound* chime_;
};

Sound* ExampleRender::tour_ = nullptr;
Sound* ExampleRender::chime_ = nullptr;

TEST_F(ExampleRender, IsTheWholeTourInTheEnginesFormat) {
  EXPECT_EQ(tour().channels, 2);
  EXPECT_EQ(tour().rate, 48000.0);
  // The last step, "at 7 set cabin_fan 0" then "wait 1", ends the run at 8 s.
  EXPECT_NEAR(tour().seconds(), 8.0, kTolerance);
}

// "at 0.5 set cabin_chime 1": the chime is heard from 0.5 s for as long as
// its file lasts. Its 880 Hz partial is the only sound of the panel there,
// so it shows where the chime ends although the fan plays by then.
TEST_F(ExampleRender, TheChimeIsHeardForItsLength) {
  ASSERT_GT(chime().seconds(), 0.5);
  const double start = 0.5;
  const double end = start + chime().seconds();

  double firstHeard = -1;
  for (std::size_t i = 0; i < tour().samples.size() && firstHeard < 0; ++i) {
    if (decibels(std::fabs(tour().samples[i])) > -60.0) {
      firstHeard = static_cast<double>(i / 2) / tour().rate;
    }
  }
  EXPECT_NEAR(firstHeard, start, kTolerance) << "the first sound heard";

  double lastHeard = -1;
  // Up to the seat-belt sound at 3 s, whose 660 Hz tone would leak in.
  for (double t = 0; t + 0.02 < 3.0 - kTolerance; t += 0.01) {
    const double level = partialDb(tour(), t, 880.0);
    if (t > start + kTolerance && t < end - kTolerance - 0.02) {
      EXPECT_GT(level, -50.0) << "the chime fades out early, at " << t << " s";
    }
    if (level > -60.0) lastHeard = t + 0.02;
  }
  EXPECT_NEAR(lastHeard, end, kTolerance) << "the chime's end";
}

// Stretches of the tour, kept clear of each step by the tolerance, that are
// heard or silent: stop-all, the simulator's sound switch and code 0.
TEST_F(ExampleRender, IsSilentWhereTheScriptSilencesEverything) {
  expectStretches(tour(),
                  {
                      {0.0, 0.5, kSilent, "nothing asked for before 0.5 s"},
                      {3.5, 4.0, kHeard, "the fan loops alone at 50 %"},
                      {4.0, 4.5, kSilent, "at 4 the stop-all variable silences it"},
                      {4.5, 5.0, kHeard, "at 4.5 the fan loops again"},
                      {5.0, 6.0, kSilent, "at 5 the simulator's sound is switched off"},
                      {6.0, 7.0, kHeard, "at 6 it is switched on again"},
                      {7.0, 8.0, kSilent, "at 7 the fan is stopped by its own variable (code 0)"},
                  },
                  kTolerance);
}

}  // namespace
