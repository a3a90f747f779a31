#include <vorlanex_engine/engine_control.h>

#include <stdexcept>

#include "device_clock.h"

namespace vorlanex::tool {

DeviceClock::DeviceClock(const AudioRequest& request)
    : realTime_(request.live), pacedFrames_(request.pacedFrames) {
  if (request.live && !request.renderFile.empty()) {
    throw std::runtime_error("--render and --live cannot go together: a rendering runs on the "
                             "sound engine's own clock, faster than real time");
  }
  engine::reset();
  if (!request.renderFile.empty()) {
    if (!engine::useWavFileSink(request.renderFile)) {
      throw std::runtime_error("cannot write " + request.renderFile + ": " + engine::sinkError());
    }
  } else if (request.live && engine::useDeviceSink()) {
    engine::startRealTime();
  } else if (request.live && request.unheardWithoutDevice) {
    // Rendered into nothing on the engine's own clock.
    realTime_ = false;
    unheard_ = "Nothing is heard: " + engine::sinkError() +
               ". --render FILE.wav keeps what would be heard.";
  } else if (request.live) {
    throw std::runtime_error("cannot play on the audio device: " + engine::sinkError());
  } else {
    engine::useNoSink();  // positions move, nothing is mixed
  }
}

DeviceClock::~DeviceClock() {
  if (realTime_) engine::stopRealTime();
  engine::useNoSink();  // completes a WAV file, closes the device
}

void DeviceClock::frameDone(double seconds) {
  if (realTime_) {
    waitForFrameEnd(seconds);
  } else {
    engine::advance(seconds);
    if (pacedFrames_) waitForFrameEnd(seconds);
  }
}

}  // namespace vorlanex::tool
