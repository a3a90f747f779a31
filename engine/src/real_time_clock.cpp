#include "real_time_clock.h"

#include <algorithm>
#include <chrono>

#include "vorlanex_engine/engine_control.h"

namespace vorlanex::engine {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t kWakeFrames = kOutputRate / 100;

// Output frames due after `elapsed` of wall time, in whole numbers.
std::uint64_t framesDue(Clock::duration elapsed) {
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count();
  const auto whole = static_cast<std::uint64_t>(ns / 1'000'000'000);
  const auto part = static_cast<std::uint64_t>(ns % 1'000'000'000);
  return whole * kOutputRate + part * kOutputRate / 1'000'000'000;
}

Clock::duration timeOf(std::uint64_t frames) {
  return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
      frames / kOutputRate * 1'000'000'000 + frames % kOutputRate * 1'000'000'000 / kOutputRate));
}

}  // namespace

void RealTimeClock::start(std::function<void(std::uint64_t)> step) {
  if (running()) return;
  step_ = std::move(step);
  stopping_ = false;
  thread_ = std::thread([this] { run(); });
}

void RealTimeClock::stop() {
  if (!running()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void RealTimeClock::run() {
  const Clock::time_point start = Clock::now();
  std::uint64_t stepped = 0;
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    const std::uint64_t due = framesDue(Clock::now() - start);
    if (due > stepped) {
      const std::uint64_t frames = std::min(due - stepped, kMaxStep);
      lock.unlock();
      step_(frames);
      lock.lock();
      stepped += frames;
      continue;
    }
    wake_.wait_until(lock, start + timeOf(stepped + kWakeFrames), [this] { return stopping_; });
  }
}

}  // namespace vorlanex::engine
