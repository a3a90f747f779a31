#include <cmath>

#include "support/sound_output.h"

namespace vorlanex::test {
namespace {

constexpr double kAudible = 0.001;  // -60 dB

double sineDb(const std::vector<float>& frames, std::size_t first, std::size_t last, int channel) {
  double sum = 0;
  for (std::size_t i = first; i < last; ++i) {
    const double sample = frames[2 * i + static_cast<std::size_t>(channel)];
    sum += sample * sample;
  }
  const double rms = std::sqrt(sum / static_cast<double>(last - first));
  // A full-scale sine has an RMS of 1/sqrt(2).
  return 20.0 * std::log10(rms * std::sqrt(2.0) + 1e-30);
}

}  // namespace

std::vector<float> audiblePart(const std::vector<float>& frames) {
  const std::size_t count = frames.size() / 2;
  std::size_t first = count;
  std::size_t last = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (std::fabs(frames[2 * i]) > kAudible || std::fabs(frames[2 * i + 1]) > kAudible) {
      if (first == count) first = i;
      last = i + 1;
    }
  }
  if (first >= last) return {};
  return std::vector<float>(frames.begin() + static_cast<std::ptrdiff_t>(2 * first),
                            frames.begin() + static_cast<std::ptrdiff_t>(2 * last));
}

ChannelLevels steadyLevels(const std::vector<float>& frames) {
  const std::vector<float> audible = audiblePart(frames);
  const std::size_t count = audible.size() / 2;
  if (count < 8) return {-INFINITY, -INFINITY};
  const std::size_t first = count / 4;
  const std::size_t last = count - count / 4;
  return {sineDb(audible, first, last, 0), sineDb(audible, first, last, 1)};
}

}  // namespace vorlanex::test
