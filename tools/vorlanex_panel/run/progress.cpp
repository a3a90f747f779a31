#include "progress.h"

#include <algorithm>
#include <cmath>

namespace vorlanex::tool {
namespace {

constexpr double kLongRun = 5.0;  // seconds of panel time worth a progress line

}  // namespace

std::string progressText(double time, double longest, int width) {
  const double fraction = longest > 0 ? std::clamp(time / longest, 0.0, 1.0) : 1.0;
  const int filled = static_cast<int>(std::lround(fraction * width));
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "  %.1f s of at most %.1f s", time, longest);
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(width - filled), '.') + "]" + numbers;
}

void ProgressLine::update(double time, double longest) {
  if (!enabled_ || longest < kLongRun) return;
  const long second = static_cast<long>(time);
  if (second == lastSecond_) return;
  lastSecond_ = second;
  std::fprintf(out_, "\r%s", progressText(time, longest, 30).c_str());
  std::fflush(out_);
  shown_ = true;
}

void ProgressLine::clear() {
  if (!shown_) return;
  // Spaces rather than an escape sequence: not every console knows them.
  std::fprintf(out_, "\r%*s\r", 80, "");
  std::fflush(out_);
  shown_ = false;
}

}  // namespace vorlanex::tool
