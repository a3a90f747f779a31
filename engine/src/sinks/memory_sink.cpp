#include "sinks/sink.h"

namespace vorlanex::engine {
namespace {

class MemorySink final : public Sink {
 public:
  explicit MemorySink(MixedOutput& output) : output_(output) {}
  void write(const float* samples, std::size_t frames) override {
    std::lock_guard<std::mutex> lock(output_.mutex);
    output_.samples.insert(output_.samples.end(), samples, samples + 2 * frames);
  }

 private:
  MixedOutput& output_;
};

}  // namespace

std::unique_ptr<Sink> makeMemorySink(MixedOutput& output) {
  return std::make_unique<MemorySink>(output);
}

}  // namespace vorlanex::engine
