#include <sndfile.h>

#include "sinks/sink.h"
#include "vorlanex_engine/engine_control.h"

namespace vorlanex::engine {
namespace {

// 32-bit float keeps the mix as it is, peaks above full scale included.
class WavFileSink final : public Sink {
 public:
  explicit WavFileSink(SNDFILE* file) : file_(file) {}
  ~WavFileSink() override { sf_close(file_); }
  void write(const float* samples, std::size_t frames) override {
    sf_writef_float(file_, samples, static_cast<sf_count_t>(frames));
  }

 private:
  SNDFILE* file_;
};

}  // namespace

std::unique_ptr<Sink> openWavFileSink(const std::string& path, std::string* error) {
  SF_INFO info{};
  info.samplerate = kOutputRate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    *error = path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  return std::make_unique<WavFileSink>(file);
}

}  // namespace vorlanex::engine
