#include <thread>

#include "device_clock.h"

namespace vorlanex::tool {

void DeviceClock::waitForFrameEnd(double seconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point now = Clock::now();
  if (elapsed_ == 0.0) start_ = now;
  elapsed_ += seconds;
  Clock::time_point end =
      start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(elapsed_));
  if (pacedFrames_ && end < now) {
    start_ += now - end;
    end = now;
  }
  std::this_thread::sleep_until(end);
}

}  // namespace vorlanex::tool
