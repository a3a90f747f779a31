// What the sound device does with a run's time and its sound: natively our
// engine (its virtual clock by default, rendering into a WAV file, or real
// time on the system's device), on Windows DirectSound, always in real time.
#pragma once

#include <chrono>
#include <string>

namespace vorlanex::tool {

struct AudioRequest {
  std::string renderFile;  // write the mix heard into this WAV file (virtual clock)
  bool live = false;       // play on the system's audio device in real time
  // The console, whose page is clicked by people (or a browser test): frames
  // keep real time even while the engine renders on its own clock, and a
  // frame that ends late moves the ones after it instead of their catching
  // up in a burst, so the page sees every frame.
  bool pacedFrames = false;
  // The console: a machine without an audio device still runs it, with
  // nothing heard, instead of refusing.
  bool unheardWithoutDevice = false;
};

class DeviceClock {
 public:
  // Throws std::runtime_error naming what cannot be done (a file that cannot
  // be written, no audio device, an option this build does not have).
  explicit DeviceClock(const AudioRequest& request);
  ~DeviceClock();
  DeviceClock(const DeviceClock&) = delete;
  DeviceClock& operator=(const DeviceClock&) = delete;

  // After each frame's pre-update: the frame's length passes for the device.
  void frameDone(double seconds);
  // Why nothing is heard though the sounds were to be played; empty when
  // they are heard (or rendered, or not asked for).
  const std::string& unheard() const { return unheard_; }

 private:
  // Real time: each frame ends at its own time since the start, so waits do
  // not add up their errors (for paced frames, since the last late frame).
  void waitForFrameEnd(double seconds);

  bool realTime_ = false;
  bool pacedFrames_ = false;
  std::chrono::steady_clock::time_point start_;
  double elapsed_ = 0.0;
  std::string unheard_;
};

}  // namespace vorlanex::tool
