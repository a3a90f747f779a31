// The real-time clock: a thread that moves the engine's time along with the
// wall clock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace vorlanex::engine {

class RealTimeClock {
 public:
  RealTimeClock() = default;
  ~RealTimeClock() { stop(); }
  RealTimeClock(const RealTimeClock&) = delete;
  RealTimeClock& operator=(const RealTimeClock&) = delete;

  // Starts the thread, which calls `step(frames)` with at most kMaxStep
  // frames at a time so that the frames stepped keep up with the wall clock
  // since the start. It wakes about every 10 ms; when it falls behind (the
  // machine was busy) it catches up at once.
  void start(std::function<void(std::uint64_t)> step);
  // Waits for the thread to end; nothing is stepped after it returns.
  void stop();
  bool running() const { return thread_.joinable(); }

  static constexpr std::uint64_t kMaxStep = 1024;

 private:
  void run();

  std::function<void(std::uint64_t)> step_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
};

}  // namespace vorlanex::engine
