// Mixing looping voices into 48 kHz float stereo: the portable sound engine
// against OpenAL Soft's loopback device, reported as times faster than real
// time ("x_realtime") on one core.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <vorlanex_engine/dsound.h>
#include <vorlanex_engine/engine_control.h>

#include <cstring>
#include <vector>

#include "mix_voices.h"

namespace {

namespace engine = vorlanex::engine;
using vorlanex::bench::VoiceSource;
using vorlanex::bench::voiceSource;

constexpr std::uint64_t kFramesPerRun = 4800;  // 0.1 s of output

IDirectSoundBuffer* loadVoice(IDirectSound* device, const VoiceSource& v) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(v.channels);
  format.nSamplesPerSec = v.rate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(2 * v.channels);
  format.nAvgBytesPerSec = v.rate * format.nBlockAlign;
  const auto bytes = static_cast<DWORD>(v.samples.size() * 2);
  DSBUFFERDESC desc{
      sizeof desc, DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME, bytes, 0, &format, {}};
  IDirectSoundBuffer* buffer = nullptr;
  if (device->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK) return nullptr;
  void* part;
  DWORD size;
  buffer->Lock(0, bytes, &part, &size, nullptr, nullptr, 0);
  std::memcpy(part, v.samples.data(), size);
  buffer->Unlock(part, size, nullptr, 0);
  buffer->SetVolume(v.volume);
  buffer->SetPan(v.pan);
  return buffer;
}

void EngineMix(benchmark::State& state) {
  engine::reset();
  IDirectSound* device = nullptr;
  if (DirectSoundCreate(nullptr, &device, nullptr) != DS_OK) {
    state.SkipWithError("no device");
    return;
  }
  std::vector<IDirectSoundBuffer*> voices;
  for (int i = 0; i < state.range(0); ++i) {
    voices.push_back(loadVoice(device, voiceSource(i)));
    voices.back()->Play(0, 0, DSBPLAY_LOOPING);
  }
  std::vector<float> out(2 * kFramesPerRun);
  for (auto _ : state) {
    engine::render(out.data(), kFramesPerRun);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["x_realtime"] = benchmark::Counter(double(kFramesPerRun) / engine::kOutputRate,
                                                    benchmark::Counter::kIsIterationInvariantRate);
  for (IDirectSoundBuffer* voice : voices) voice->Release();
  device->Release();
}
BENCHMARK(EngineMix)->Arg(1)->Arg(16)->Arg(100)->Unit(benchmark::kMicrosecond);

// What a loaded buffer keeps on the heap, against the bytes of its data.
void LoadedBufferMemory(benchmark::State& state) {
  engine::reset();
  IDirectSound* device = nullptr;
  DirectSoundCreate(nullptr, &device, nullptr);
  const VoiceSource source = voiceSource(static_cast<int>(state.range(0)));
  double heap = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    IDirectSoundBuffer* buffer = loadVoice(device, source);
    heap = double(mallinfo2().uordblks - before);
    state.PauseTiming();
    buffer->Release();
    state.ResumeTiming();
  }
  state.counters["heap_per_data_byte"] = heap / double(source.samples.size() * 2);
  state.SetLabel(source.channels == 1 ? "mono 22.05 kHz 1.5 s" : "stereo 44.1 kHz 2 s");
  device->Release();
}
BENCHMARK(LoadedBufferMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
