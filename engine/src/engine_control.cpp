#include "vorlanex_engine/engine_control.h"

#include <algorithm>
#include <cmath>

#include "engine.h"
#include "sound_buffer.h"

namespace vorlanex::engine {
namespace {

using Guard = std::lock_guard<std::mutex>;

// What the real-time clock's thread does each step: mix under the lock,
// write outside it, so a device that blocks never holds up DirectSound calls.
void stepRealTime(std::uint64_t frames) {
  Engine& e = engine();
  if (!e.sink) {
    Guard lock(e.mutex);
    e.play(nullptr, frames);
    return;
  }
  float block[2 * RealTimeClock::kMaxStep];
  {
    Guard lock(e.mutex);
    e.play(block, frames);
  }
  e.sink->write(block, static_cast<std::size_t>(frames));
}

// Replaces the sink with the real-time clock stopped, restarting it after.
template <typename Open>
bool changeSink(Open open) {
  Engine& e = engine();
  const bool wasRunning = e.realTime.running();
  e.realTime.stop();
  bool opened;
  {
    Guard lock(e.mutex);
    e.sink.reset();  // a device is let go before another is opened
    e.sinkError.clear();
    e.sink = open(&e.sinkError);
    opened = e.sink != nullptr || e.sinkError.empty();
  }
  if (wasRunning) e.realTime.start(stepRealTime);
  return opened;
}

bool advanceBy(std::uint64_t frames, float* out) {
  Engine& e = engine();
  Guard lock(e.mutex);
  if (e.realTime.running()) return false;
  if (out != nullptr || !e.sink) {
    e.play(out, frames);
    return true;
  }
  constexpr std::uint64_t kBlock = 4096;
  std::vector<float> block(2 * kBlock);
  while (frames > 0) {
    const std::uint64_t n = std::min(frames, kBlock);
    e.play(block.data(), n);
    e.sink->write(block.data(), static_cast<std::size_t>(n));
    frames -= n;
  }
  return true;
}

}  // namespace

void reset() {
  Engine& e = engine();
  e.realTime.stop();
  Guard lock(e.mutex);
  e.faults = Faults{};
  e.calls.fill(0);
  e.clock = FrameClock{};
  e.sink.reset();
  e.sinkError.clear();
  Guard outputLock(e.output.mutex);
  e.output.samples.clear();
}

bool advance(double seconds) {
  constexpr double kLongest = 1e9;  // some 30 years: frame counts stay far from overflowing
  if (!std::isfinite(seconds) || seconds < 0.0 || seconds > kLongest) return false;
  Engine& e = engine();
  std::uint64_t frames;
  {
    Guard lock(e.mutex);
    if (e.realTime.running()) return false;
    frames = e.clock.framesFor(seconds);
  }
  return advanceBy(frames, nullptr);
}

bool advanceFrames(std::uint64_t frames) { return advanceBy(frames, nullptr); }

bool render(float* out, std::uint64_t frames) { return out != nullptr && advanceBy(frames, out); }

std::uint64_t elapsedFrames() {
  Guard lock(engine().mutex);
  return engine().clock.elapsed();
}

bool startRealTime() {
  Engine& e = engine();
  if (e.realTime.running()) return false;
  e.realTime.start(stepRealTime);
  return true;
}

void stopRealTime() { engine().realTime.stop(); }

bool realTimeRunning() { return engine().realTime.running(); }

void useNoSink() {
  changeSink([](std::string*) { return std::unique_ptr<Sink>(); });
}

void useMemorySink() {
  changeSink([](std::string*) { return makeMemorySink(engine().output); });
}

bool useWavFileSink(const std::string& path) {
  return changeSink([&](std::string* error) { return openWavFileSink(path, error); });
}

bool useDeviceSink() { return changeSink(openDeviceSink); }

std::string sinkError() {
  Guard lock(engine().mutex);
  return engine().sinkError;
}

std::vector<float> mixedOutput() {
  MixedOutput& output = engine().output;
  Guard lock(output.mutex);
  return output.samples;
}

void clearMixedOutput() {
  MixedOutput& output = engine().output;
  Guard lock(output.mutex);
  output.samples.clear();
}

namespace {

void armFault(Countdown Faults::*fault, HRESULT code, int times) {
  Guard lock(engine().mutex);
  (engine().faults.*fault).arm(code, times);
}

}  // namespace

void failDirectSoundCreate(HRESULT code, int times) {
  armFault(&Faults::directSoundCreate, code, times);
}
void failSetCooperativeLevel(HRESULT code, int times) {
  armFault(&Faults::cooperativeLevel, code, times);
}
void failCreateSoundBuffer(HRESULT code, int times) {
  armFault(&Faults::createSoundBuffer, code, times);
}
void failLock(HRESULT code, int times) { armFault(&Faults::lock, code, times); }
void failUnlock(HRESULT code, int times) { armFault(&Faults::unlock, code, times); }
void failGetStatus(HRESULT code, int times) { armFault(&Faults::getStatus, code, times); }

bool loseBuffer(IDirectSoundBuffer* buffer) {
  Engine& e = engine();
  Guard lock(e.mutex);
  const auto found = std::find(e.buffers.begin(), e.buffers.end(), buffer);
  if (found == e.buffers.end()) return false;
  (*found)->lose();
  return true;
}

void answerRestore(const std::vector<HRESULT>& codes) {
  Guard lock(engine().mutex);
  engine().faults.restoreAnswers.assign(codes.begin(), codes.end());
}

std::uint64_t callCount(Call call) {
  Guard lock(engine().mutex);
  return engine().calls.at(static_cast<std::size_t>(call));
}

std::uint64_t totalCalls() {
  Guard lock(engine().mutex);
  std::uint64_t total = 0;
  for (const std::uint64_t count : engine().calls) total += count;
  return total;
}

const char* callName(Call call) {
  static const char* const kNames[] = {"DirectSoundCreate",
                                       "IDirectSound::QueryInterface",
                                       "IDirectSound::AddRef",
                                       "IDirectSound::Release",
                                       "CreateSoundBuffer",
                                       "IDirectSound::GetCaps",
                                       "DuplicateSoundBuffer",
                                       "SetCooperativeLevel",
                                       "Compact",
                                       "GetSpeakerConfig",
                                       "SetSpeakerConfig",
                                       "IDirectSound::Initialize",
                                       "IDirectSoundBuffer::QueryInterface",
                                       "IDirectSoundBuffer::AddRef",
                                       "IDirectSoundBuffer::Release",
                                       "IDirectSoundBuffer::GetCaps",
                                       "GetCurrentPosition",
                                       "GetFormat",
                                       "GetVolume",
                                       "GetPan",
                                       "GetFrequency",
                                       "GetStatus",
                                       "IDirectSoundBuffer::Initialize",
                                       "Lock",
                                       "Play",
                                       "SetCurrentPosition",
                                       "SetFormat",
                                       "SetVolume",
                                       "SetPan",
                                       "SetFrequency",
                                       "Stop",
                                       "Unlock",
                                       "Restore"};
  static_assert(sizeof kNames / sizeof kNames[0] == static_cast<std::size_t>(Call::Count));
  const auto index = static_cast<std::size_t>(call);
  return index < static_cast<std::size_t>(Call::Count) ? kNames[index] : "?";
}

std::vector<BufferView> buffers() {
  Guard lock(engine().mutex);
  std::vector<BufferView> views;
  for (SoundBuffer* buffer : engine().buffers) views.push_back(buffer->view());
  return views;
}

bool viewBuffer(IDirectSoundBuffer* buffer, BufferView* view) {
  Engine& e = engine();
  Guard lock(e.mutex);
  const auto found = std::find(e.buffers.begin(), e.buffers.end(), buffer);
  if (found == e.buffers.end() || view == nullptr) return false;
  *view = (*found)->view();
  return true;
}

std::size_t liveDevices() {
  Guard lock(engine().mutex);
  return engine().devices;
}

}  // namespace vorlanex::engine
