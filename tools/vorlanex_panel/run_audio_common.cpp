#include <thread>

#include "run_audio.h"

namespace vorlanex::panel {

void RunAudio::waitForFrameEnd(double seconds) {
  if (elapsed_ == 0.0) start_ = std::chrono::steady_clock::now();
  elapsed_ += seconds;
  std::this_thread::sleep_until(
      start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                   std::chrono::duration<double>(elapsed_)));
}

}  // namespace vorlanex::panel
