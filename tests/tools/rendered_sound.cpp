#include "rendered_sound.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace vorlanex::test {

double Sound::seconds() const { return static_cast<double>(frames()) / rate; }

std::size_t Sound::frames() const { return channels == 0 ? 0 : samples.size() / channels; }

std::size_t Sound::frameAt(double time) const {
  return std::min(frames(), static_cast<std::size_t>(std::max(0.0, time) * rate));
}

double Sound::mid(std::size_t frame) const {
  double sum = 0;
  for (int c = 0; c < channels; ++c) sum += samples[frame * channels + c];
  return sum / channels;
}

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

double peakDb(const Sound& sound, double from, double to) {
  float peak = 0;
  for (std::size_t i = sound.frameAt(from) * sound.channels; i < sound.frameAt(to) * sound.channels;
       ++i) {
    peak = std::max(peak, std::fabs(sound.samples[i]));
  }
  return decibels(peak);
}

// Goertzel's filter under a Hann window, which keeps the fan's low partials
// out.
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

void expectStretches(const Sound& sound, const std::vector<Stretch>& stretches, double margin) {
  for (const Stretch& s : stretches) {
    const double level = peakDb(sound, s.from + margin, s.to - margin);
    std::ostringstream what;
    what << s.what << " (" << s.from << " to " << s.to << " s)";
    EXPECT_GT(level, s.level.above) << what.str();
    EXPECT_LT(level, s.level.below) << what.str();
  }
}

}  // namespace vorlanex::test
