#include "frame_clock.h"

#include <cmath>

#include "vorlanex_engine/engine_control.h"

namespace vorlanex::engine {

std::uint64_t FrameClock::framesFor(double seconds) {
  constexpr double kTolerance = 1e-6;
  const double wanted = carried_ + seconds * kOutputRate;
  const double whole = std::floor(wanted + kTolerance);
  carried_ = wanted - whole;
  return whole > 0.0 ? static_cast<std::uint64_t>(whole) : 0;
}

}  // namespace vorlanex::engine
