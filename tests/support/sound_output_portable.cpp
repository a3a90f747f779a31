#include <vorlanex_engine/engine_control.h>

#include "support/sound_output.h"

namespace vorlanex::test {

SoundOutput::SoundOutput() {
  engine::reset();
  engine::useMemorySink();
}

bool SoundOutput::capturing() const { return true; }

std::size_t SoundOutput::mark() const { return engine::mixedOutput().size() / 2; }

bool SoundOutput::waitUntil(const std::function<bool()>& condition, double limitSeconds) const {
  const auto limitFrames = static_cast<std::uint64_t>(limitSeconds * kOutputRate);
  for (std::uint64_t passed = 0; passed <= limitFrames; passed += 48) {
    if (condition()) return true;
    engine::advanceFrames(48);
  }
  return condition();
}

void SoundOutput::pass(double seconds) const { engine::advance(seconds); }

std::vector<float> SoundOutput::heardSince(std::size_t from, std::size_t frames,
                                           double /*limitSeconds*/) const {
  const std::size_t have = mark();
  if (have < from + frames) engine::advanceFrames(from + frames - have);
  const std::vector<float> all = engine::mixedOutput();
  return std::vector<float>(all.begin() + static_cast<std::ptrdiff_t>(2 * from), all.end());
}

}  // namespace vorlanex::test

#include "panel_host.h"
#include "support/sound_panel.h"

namespace vorlanex::test {

// Each frame's duration passes on the engine's virtual clock: exact and fast.
void attachSoundClock(host::PanelHost& host) {
  host.setFrameListener([](double seconds) { engine::advance(seconds); });
}

}  // namespace vorlanex::test

namespace vorlanex::test {

bool deviceVisible() { return true; }

std::vector<DeviceBuffer> deviceBuffers() {
  std::vector<DeviceBuffer> shown;
  for (const engine::BufferView& view : engine::buffers()) {
    shown.push_back({view.status, view.volume, view.pan, view.playPosition});
  }
  return shown;
}

bool loseEveryBuffer(BufferLoss loss) {
  for (const engine::BufferView& view : engine::buffers()) engine::loseBuffer(view.buffer);
  if (loss == BufferLoss::kForGood) {
    engine::answerRestore(std::vector<HRESULT>(1000, DSERR_INVALIDCALL));
  } else {
    engine::failLock(DSERR_INVALIDCALL);
  }
  return true;
}

}  // namespace vorlanex::test
