// What the example panel's tour sounds like: the WAV file that
// `vorlanex-panel run ... --render` wrote of examples/panel/scripts/module_tour.txt
// (natively, on the engine's virtual clock), read back and listened to where
// the script says something must or must not be heard.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// The tour's frames and the tolerance of every time below: two of them.
constexpr double kFrame = 1.0 / 18.0;
constexpr double kTolerance = 2 * kFrame;

constexpr double kHeardDb = -70.0;   // the fan at 50 % peaks near -58 dB
constexpr double kSilentDb = -90.0;  // a muted sound plays 100 dB down

struct Sound {
  int channels = 0;
  double rate = 0.0;
  std::vector<float> samples;  // interleaved

  double seconds() const { return static_cast<double>(frames()) / rate; }
  std::size_t frames() const { return channels == 0 ? 0 : samples.size() / channels; }
  std::size_t frameAt(double time) const {
    return std::min(frames(), static_cast<std::size_t>(std::max(0.0, time) * rate));
  }
  // The mean of the channels at a frame.
  double mid(std::size_t frame) const {
    double sum = 0;
    for (int c = 0; c < channels; ++c) sum += samples[frame * channels + c];
    return sum / channels;
  }
};

Sound readSound(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  Sound sound;
  if (file == nullptr) {
    ADD_FAILURE() << "cannot read " << path << ": " << sf_strerror(nullptr);
    return sound;
  }
  sound.channels = info.channels;
  sound.rate = info.samplerate;
  sound.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(file, sound.samples.data(), info.frames);
  sf_close(file);
  return sound;
}

double decibels(double amplitude) { return 20.0 * std::log10(amplitude + 1e-12); }

// The loudest sample of any channel between two times, in dB of full scale.
double peakDb(const Sound& sound, double from, double to) {
  float peak = 0;
  for (std::size_t i = sound.frameAt(from) * sound.channels; i < sound.frameAt(to) * sound.channels;
       ++i) {
    peak = std::max(peak, std::fabs(sound.samples[i]));
  }
  return decibels(peak);
}

// The amplitude of one frequency in the channels' mean over 20 ms from
// `from` (Goertzel's filter under a Hann window, which keeps the fan's low
// partials out), in dB of a full-scale sine.
double partialDb(const Sound& sound, double from, double hertz) {
  const std::size_t first = sound.frameAt(from);
  const std::size_t count = sound.frameAt(from + 0.02) - first;
  const double pi = std::acos(-1.0);
  double real = 0, imaginary = 0, windowSum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double window = 0.5 - 0.5 * std::cos(2 * pi * static_cast<double>(i) / count);
    const double phase = 2 * pi * hertz * static_cast<double>(i) / sound.rate;
    real += window * sound.mid(first + i) * std::cos(phase);
    imaginary += window * sound.mid(first + i) * std::sin(phase);
    windowSum += window;
  }
  return decibels(2 * std::hypot(real, imaginary) / std::max(windowSum, 1.0));
}

class ExampleRender : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    tour_ = new Sound(readSound(VORLANEX_EXAMPLE_RENDER));
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
  struct Stretch {
    double from, to;
    bool heard;
    const char* what;
  } stretches[] = {
      {0.0, 0.5, false, "nothing asked for before 0.5 s"},
      {3.5, 4.0, true, "the fan loops alone at 50 %"},
      {4.0, 4.5, false, "at 4 the stop-all variable silences it"},
      {4.5, 5.0, true, "at 4.5 the fan loops again"},
      {5.0, 6.0, false, "at 5 the simulator's sound is switched off"},
      {6.0, 7.0, true, "at 6 it is switched on again"},
      {7.0, 8.0, false, "at 7 the fan is stopped by its own variable (code 0)"},
  };
  for (const Stretch& s : stretches) {
    const double level = peakDb(tour(), s.from + kTolerance, s.to - kTolerance);
    if (s.heard) {
      EXPECT_GT(level, kHeardDb) << s.what;
    } else {
      EXPECT_LT(level, kSilentDb) << s.what;
    }
  }
}

}  // namespace
