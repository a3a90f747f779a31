#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

#include <algorithm>
#include <vector>

#include "sinks/sink.h"
#include "vorlanex_engine/engine_control.h"

#if defined(__SANITIZE_ADDRESS__)
#define VORLANEX_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLANEX_LEAK_CHECKED 1
#endif
#endif
#ifdef VORLANEX_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

namespace vorlanex::engine {
namespace {

// While PortAudio looks for devices, ALSA reports on stderr every device it
// probes and cannot open, and JACK's client library every server it cannot
// reach (PortAudio's JACK host and ALSA's JACK plugin both ask for one);
// what matters reaches the caller as our own error. PortAudio puts its own
// JACK error handler in place once it reaches a server.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
void quietJack(const char*) {}

// PortAudio's search for devices, with nothing printed. ALSA's a52 plugin
// (libavcodec) keeps what it allocates when it is probed and is unloaded
// still holding it when PortAudio lets ALSA go: the sanitizer build's leak
// check must not count what the search allocates.
PaError initialisePortAudio() {
  snd_lib_error_set_handler(quietAlsa);
  jack_set_error_function(quietJack);
  jack_set_info_function(quietJack);
#ifdef VORLANEX_LEAK_CHECKED
  const __lsan::ScopedDisabler searchAllocations;
#endif
  return Pa_Initialize();
}

// PortAudio's blocking interface: the engine's own real-time clock paces the
// writes, since some devices (ALSA's null device) take frames as fast as
// they come.
class DeviceSink final : public Sink {
 public:
  explicit DeviceSink(PaStream* stream) : stream_(stream) {}
  ~DeviceSink() override {
    Pa_StopStream(stream_);
    Pa_CloseStream(stream_);
    Pa_Terminate();
  }
  void write(const float* samples, std::size_t frames) override {
    clipped_.resize(2 * frames);
    std::transform(samples, samples + 2 * frames, clipped_.begin(),
                   [](float s) { return std::clamp(s, -1.0f, 1.0f); });
    // A write's error is not reported: an underflow (the device ran dry
    // while the machine was busy) passes, and the mix goes on regardless.
    Pa_WriteStream(stream_, clipped_.data(), static_cast<unsigned long>(frames));
  }

 private:
  PaStream* stream_;
  std::vector<float> clipped_;
};

}  // namespace

std::unique_ptr<Sink> openDeviceSink(std::string* error) {
  PaError result = initialisePortAudio();
  if (result != paNoError) {
    *error = std::string("PortAudio: ") + Pa_GetErrorText(result);
    return nullptr;
  }
  if (Pa_GetDefaultOutputDevice() == paNoDevice) {
    *error = "this computer has no audio output device";
    Pa_Terminate();
    return nullptr;
  }
  PaStream* stream = nullptr;
  result = Pa_OpenDefaultStream(&stream, 0, 2, paFloat32, kOutputRate, paFramesPerBufferUnspecified,
                                nullptr, nullptr);
  if (result == paNoError) result = Pa_StartStream(stream);
  if (result != paNoError) {
    *error = std::string("PortAudio: ") + Pa_GetErrorText(result);
    if (stream != nullptr) Pa_CloseStream(stream);
    Pa_Terminate();
    return nullptr;
  }
  return std::make_unique<DeviceSink>(stream);
}

}  // namespace vorlanex::engine
