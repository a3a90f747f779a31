// The same voices mixed by OpenAL Soft, rendering through its loopback
// device into 48 kHz float stereo: the figure the engine is measured
// against. Volumes become gains; a mono voice's pan becomes a direction in
// front of the listener (OpenAL does not pan stereo sources).
#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "mix_voices.h"

namespace {

using vorlanex::bench::VoiceSource;
using vorlanex::bench::voiceSource;

constexpr ALCsizei kFramesPerRun = 4800;

void OpenAlMix(benchmark::State& state) {
  ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                               ALC_STEREO_SOFT,
                               ALC_FORMAT_TYPE_SOFT,
                               ALC_FLOAT_SOFT,
                               ALC_FREQUENCY,
                               48000,
                               ALC_MONO_SOURCES,
                               128,
                               ALC_STEREO_SOURCES,
                               128,
                               0};
  ALCcontext* context = device ? alcCreateContext(device, attributes) : nullptr;
  if (context == nullptr || !alcMakeContextCurrent(context)) {
    state.SkipWithError("no OpenAL loopback device");
    return;
  }
  const auto count = static_cast<ALsizei>(state.range(0));
  std::vector<ALuint> buffers(count);
  std::vector<ALuint> sources(count);
  alGenBuffers(count, buffers.data());
  alGenSources(count, sources.data());
  for (ALsizei i = 0; i < count; ++i) {
    const VoiceSource v = voiceSource(i);
    alBufferData(buffers[i], v.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16,
                 v.samples.data(), static_cast<ALsizei>(v.samples.size() * 2),
                 static_cast<ALsizei>(v.rate));
    alSourcei(sources[i], AL_BUFFER, static_cast<ALint>(buffers[i]));
    alSourcei(sources[i], AL_LOOPING, AL_TRUE);
    alSourcef(sources[i], AL_GAIN, static_cast<ALfloat>(std::pow(10.0, v.volume / 2000.0)));
    const double angle = v.pan / 10000.0 * M_PI / 2;
    alSourcei(sources[i], AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(sources[i], AL_POSITION, static_cast<ALfloat>(std::sin(angle)), 0.0f,
               static_cast<ALfloat>(-std::cos(angle)));
    alSourcePlay(sources[i]);
  }
  if (alGetError() != AL_NO_ERROR) state.SkipWithError("OpenAL refused a voice");
  std::vector<float> out(2 * kFramesPerRun);
  for (auto _ : state) {
    alcRenderSamplesSOFT(device, out.data(), kFramesPerRun);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["x_realtime"] = benchmark::Counter(double(kFramesPerRun) / 48000,
                                                    benchmark::Counter::kIsIterationInvariantRate);
  const ALint resampler = alGetInteger(AL_DEFAULT_RESAMPLER_SOFT);
  state.SetLabel(std::string("resampler: ") + alGetStringiSOFT(AL_RESAMPLER_NAME_SOFT, resampler));

  alDeleteSources(count, sources.data());
  alDeleteBuffers(count, buffers.data());
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
  alcCloseDevice(device);
}
BENCHMARK(OpenAlMix)->Arg(1)->Arg(16)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
