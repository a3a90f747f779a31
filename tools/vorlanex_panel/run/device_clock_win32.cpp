#include <stdexcept>

#include "device_clock.h"

namespace vorlanex::tool {

// DirectSound plays in real time and into the system's device: the frames
// keep its pace, whatever was asked.
DeviceClock::DeviceClock(const AudioRequest& request)
    : realTime_(true), pacedFrames_(request.pacedFrames) {
  if (!request.renderFile.empty()) {
    throw std::runtime_error("--render needs the native build of vorlanex-panel: DirectSound "
                             "plays in real time on the system's device");
  }
}

DeviceClock::~DeviceClock() = default;

void DeviceClock::frameDone(double seconds) { waitForFrameEnd(seconds); }

}  // namespace vorlanex::tool
