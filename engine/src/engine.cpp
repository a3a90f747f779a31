#include "engine.h"

#include <algorithm>
#include <cstdlib>

#include "sound_buffer.h"

namespace vorlanex::engine {
namespace {

// Frames mixed together: a stereo block of 8 KiB stays in the first-level
// cache while every voice is added into it.
constexpr std::uint64_t kMixBlock = 1024;
// Without mixing, positions move in larger steps; the bound keeps a
// cursor's arithmetic far from overflowing.
constexpr std::uint64_t kSilentBlock = std::uint64_t{1} << 20;

void closeAtExit() {
  Engine& e = engine();
  e.realTime.stop();
  std::lock_guard<std::mutex> lock(e.mutex);
  e.sink.reset();
}

}  // namespace

void Engine::play(float* out, std::uint64_t frames) {
  const std::uint64_t block = out != nullptr ? kMixBlock : kSilentBlock;
  while (frames > 0) {
    const std::uint64_t n = std::min(frames, block);
    if (out != nullptr) std::fill(out, out + 2 * n, 0.0f);
    for (SoundBuffer* buffer : buffers) buffer->play(out, n);
    clock.add(n);
    frames -= n;
    if (out != nullptr) out += 2 * n;
  }
}

Engine& engine() {
  static Engine* const instance = [] {
    auto* made = new Engine;
    std::atexit(closeAtExit);
    return made;
  }();
  return *instance;
}

}  // namespace vorlanex::engine
