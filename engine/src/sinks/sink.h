// Where the engine's mixed output goes: memory, a WAV file or the system's
// playback device. No sink at all means nothing is mixed.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vorlanex::engine {

class Sink {
 public:
  virtual ~Sink() = default;
  // Takes `frames` frames of interleaved float stereo at the output rate.
  // Called by one thread at a time.
  virtual void write(const float* samples, std::size_t frames) = 0;
};

// What the memory sink has kept, read by tests while the real-time clock may
// be writing.
struct MixedOutput {
  std::mutex mutex;
  std::vector<float> samples;
};

std::unique_ptr<Sink> makeMemorySink(MixedOutput& output);
// Null, with the reason in `error`, when the file or device cannot be opened.
std::unique_ptr<Sink> openWavFileSink(const std::string& path, std::string* error);
std::unique_ptr<Sink> openDeviceSink(std::string* error);

}  // namespace vorlanex::engine
