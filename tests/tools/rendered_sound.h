// A WAV file that `vorlanex-panel run --render` wrote, read back, and the
// measures the example's render tests listen to it by.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace vorlanex::test {

struct Sound {
  int channels = 0;
  double rate = 0.0;
  std::vector<float> samples;  // interleaved

  double seconds() const;
  std::size_t frames() const;
  std::size_t frameAt(double time) const;
  double mid(std::size_t frame) const;  // the mean of the channels at a frame
};

// The file's samples as floats; a test failure when it cannot be read.
Sound readSound(const std::string& path);

double decibels(double amplitude);

// The loudest sample of any channel between two times, in dB of full scale.
double peakDb(const Sound& sound, double from, double to);

// The amplitude of one frequency in the channels' mean over 20 ms from
// `from`, in dB of a full-scale sine.
double partialDb(const Sound& sound, double from, double hertz);

// What the loudest sample of a stretch must lie between, in dB.
struct Level {
  double above, below;
};
inline constexpr double kHeardDb = -70.0;   // the fan at 50 % peaks near -58 dB
inline constexpr double kSilentDb = -90.0;  // a muted sound plays 100 dB down
inline constexpr Level kHeard{kHeardDb, std::numeric_limits<double>::infinity()};
inline constexpr Level kSilent{-std::numeric_limits<double>::infinity(), kSilentDb};

// A stretch of a rendering, tied to the script's steps, and how it sounds.
struct Stretch {
  double from, to;
  Level level;
  const char* what;
};

// Each stretch, kept `margin` clear of its ends, must peak at its level; a
// test failure naming the stretch when it does not.
void expectStretches(const Sound& sound, const std::vector<Stretch>& stretches, double margin);

}  // namespace vorlanex::test
