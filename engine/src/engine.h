// The engine's process-wide state: every device and buffer, the clock, the
// sink, faults and counters, behind one lock that DirectSound's calls, the
// control functions and the real-time clock's thread all take.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "faults.h"
#include "frame_clock.h"
#include "real_time_clock.h"
#include "sinks/sink.h"
#include "vorlanex_engine/engine_control.h"

namespace vorlanex::engine {

class SoundBuffer;

struct Engine {
  std::mutex mutex;  // guards all but `output` and `realTime`
  Faults faults;
  std::array<std::uint64_t, static_cast<std::size_t>(Call::Count)> calls{};
  std::vector<SoundBuffer*> buffers;  // live, oldest first
  std::size_t devices = 0;
  FrameClock clock;
  // Replaced only while the real-time clock is stopped, so its thread can
  // write to it outside the lock.
  std::unique_ptr<Sink> sink;
  std::string sinkError;
  MixedOutput output;
  RealTimeClock realTime;  // started and stopped without holding `mutex`

  void count(Call call) { ++calls[static_cast<std::size_t>(call)]; }

  // Plays the next `frames` output frames of every playing buffer and moves
  // the clock. With `out` (2 floats a frame) the frames are mixed there;
  // without, only positions move. Call with `mutex` held.
  void play(float* out, std::uint64_t frames);
};

// The one engine of the process. Never destroyed: buffers may outlive any
// static object, and the real-time clock and sink are closed at exit.
Engine& engine();

}  // namespace vorlanex::engine
