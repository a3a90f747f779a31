#include "rendering.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>

#include "decode.h"
#include "vorlanex_engine/engine_control.h"

namespace vorlanex::engine {
namespace {

// Frames of the slower of the two rates that the resampler's filter reaches
// across, with a margin: beyond this an impulse's ringing is below -120 dB.
constexpr std::int64_t kFilterReach = 160;

// 8- and 16-bit sources lose nothing when kept as 16-bit samples.
bool keepsAsFloat(Encoding encoding) {
  return encoding != Encoding::Unsigned8 && encoding != Encoding::Signed16;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

std::int64_t floorToMultiple(std::int64_t value, std::int64_t step) {
  const std::int64_t q = value / step - (value % step < 0 ? 1 : 0);
  return q * step;
}

enum class Surroundings { Silence, Repeats };

// The buffer's frames, decoded, with what lies around them: silence for a
// sound played once, the buffer itself again for a loop.
class SourceFrames {
 public:
  SourceFrames(const SampleFormat& format, const std::uint8_t* bytes, std::int64_t frames,
               Surroundings around)
      : format_(format), bytes_(bytes), frames_(frames), around_(around) {}

  // Frames [first, first + count) into `out`; `first` may lie outside the buffer.
  void read(std::int64_t first, std::size_t count, float* out) const {
    const unsigned channels = format_.channels;
    while (count > 0) {
      std::int64_t at = first;
      std::size_t run;
      if (around_ == Surroundings::Repeats) {
        at = ((first % frames_) + frames_) % frames_;
        run = static_cast<std::size_t>(std::min<std::int64_t>(count, frames_ - at));
      } else if (first < 0 || first >= frames_) {
        run = first < 0 ? static_cast<std::size_t>(std::min<std::int64_t>(count, -first)) : count;
        std::fill(out, out + run * channels, 0.0f);
        at = -1;
      } else {
        run = static_cast<std::size_t>(std::min<std::int64_t>(count, frames_ - first));
      }
      if (at >= 0) decodeFrames(format_, bytes_ + at * format_.blockAlign, run, out);
      out += run * channels;
      first += static_cast<std::int64_t>(run);
      count -= run;
    }
  }

 private:
  SampleFormat format_;
  const std::uint8_t* bytes_;
  std::int64_t frames_;
  Surroundings around_;
};

class Resampler {
 public:
  Resampler(std::int64_t from, std::int64_t to, unsigned channels) {
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, SOXR_HI_PREC_CLOCK);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    soxr_ = soxr_create(static_cast<double>(from), static_cast<double>(to), channels, &error, &io,
                        &quality, &runtime);
    if (error != nullptr || soxr_ == nullptr) throw std::bad_alloc();
  }
  ~Resampler() { soxr_delete(soxr_); }
  Resampler(const Resampler&) = delete;
  Resampler& operator=(const Resampler&) = delete;

  // Null input flushes what the filter still holds.
  void process(const float* in, std::size_t inFrames, std::size_t* used, float* out,
               std::size_t outFrames, std::size_t* made) {
    if (soxr_process(soxr_, in, inFrames, used, out, outFrames, made) != nullptr) {
      throw std::bad_alloc();
    }
  }

 private:
  soxr_t soxr_ = nullptr;
};

// Output frames [begin, end) of `source` resampled by M/N, handed to
// `keep(outputFrame, samples, frames)`. The resampler starts far enough
// before `begin` for its filter to be full there, at a source frame whose
// output frame is a whole number, so that every window shares one time grid.
template <typename Keep>
void renderWindow(const SourceFrames& source, unsigned channels, std::int64_t n, std::int64_t m,
                  std::int64_t begin, std::int64_t end, Keep keep) {
  if (begin >= end) return;
  const std::int64_t g = std::gcd(n, m);
  const std::int64_t reachIn = kFilterReach * std::max<std::int64_t>(1, ceilDiv(n, m));
  const std::int64_t inFirst = floorToMultiple(begin * n / m - reachIn, n / g);
  const std::int64_t inLast = ceilDiv(end * n, m) + reachIn;
  std::int64_t outAt = inFirst / (n / g) * (m / g);

  constexpr std::size_t kOutChunk = 16384;
  const auto inChunk = static_cast<std::size_t>(
      std::clamp<std::int64_t>(static_cast<std::int64_t>(kOutChunk) * n / m / 2, 1, 4096));
  std::vector<float> in(inChunk * channels);
  std::vector<float> out(kOutChunk * channels);
  Resampler resampler(n, m, channels);

  auto deliver = [&](std::size_t made) {
    const std::int64_t from = std::max(outAt, begin);
    const std::int64_t to = std::min(outAt + static_cast<std::int64_t>(made), end);
    if (from < to) {
      keep(from, out.data() + (from - outAt) * channels, static_cast<std::size_t>(to - from));
    }
    outAt += static_cast<std::int64_t>(made);
  };

  std::int64_t next = inFirst;
  while (outAt < end) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(inChunk, inLast - next));
    if (count == 0) {  // input exhausted: drain the filter
      std::size_t made = 0;
      resampler.process(nullptr, 0, nullptr, out.data(), kOutChunk, &made);
      if (made == 0) return;
      deliver(made);
      continue;
    }
    source.read(next, count, in.data());
    next += static_cast<std::int64_t>(count);
    std::size_t taken = 0;
    std::size_t made = 0;
    do {
      std::size_t used = 0;
      resampler.process(in.data() + taken * channels, count - taken, &used, out.data(), kOutChunk,
                        &made);
      taken += used;
      deliver(made);
    } while (taken < count || made == kOutChunk);
  }
}

// Writes float frames into the rendering's storage, quantising to 16 bits
// where the rendering keeps 16-bit samples.
class Storage {
 public:
  explicit Storage(Rendering& rendering) : r_(rendering) {}
  void put(std::uint64_t frame, const float* samples, std::size_t frames) {
    const std::size_t count = frames * r_.channels;
    if (r_.isFloat()) {
      std::copy(samples, samples + count, r_.float32.begin() + frame * r_.channels);
      return;
    }
    std::int16_t* to = r_.pcm16.data() + frame * r_.channels;
    const float unit = r_.fullScale;
    for (std::size_t i = 0; i < count; ++i) {
      const float scaled = std::clamp(samples[i] * unit, -32768.0f, 32767.0f);
      to[i] = static_cast<std::int16_t>(std::lrint(scaled));
    }
  }

 private:
  Rendering& r_;
};

// Frames at the output rate on each side of a seam that the filter reaches.
std::uint64_t seamFrames(std::uint64_t n, std::uint64_t m) {
  return kFilterReach * std::max<std::uint64_t>(1, (m + n - 1) / n);
}

}  // namespace

std::uint64_t outputFramesFor(std::uint64_t sourceFrames, std::uint32_t rate) {
  const std::uint64_t frames = (sourceFrames * kOutputRate + rate / 2) / rate;
  return std::max<std::uint64_t>(frames, 1);
}

std::uint64_t renderingBytes(const SampleFormat& format, std::uint64_t sourceFrames,
                             std::uint64_t outputFrames) {
  const std::uint64_t sampleBytes = keepsAsFloat(format.encoding) ? 4 : 2;
  const std::uint64_t seam = std::min(seamFrames(sourceFrames, outputFrames), outputFrames);
  return (outputFrames + 2 * seam) * format.channels * sampleBytes;
}

std::unique_ptr<Rendering> renderBuffer(const SampleFormat& format, const std::uint8_t* bytes,
                                        std::uint64_t sourceFrames, std::uint64_t outputFrames) {
  auto r = std::make_unique<Rendering>();
  r->channels = format.channels;
  r->frames = outputFrames;
  const std::uint64_t m = outputFrames;
  const std::uint64_t seam = sourceFrames == m ? 0 : std::min(seamFrames(sourceFrames, m), m);
  r->headFrames = seam;
  r->tailStart = std::max(m - seam, seam);
  const std::uint64_t stored = (m + seam + (m - r->tailStart)) * format.channels;
  if (keepsAsFloat(format.encoding)) {
    r->float32.resize(stored);
  } else {
    r->pcm16.resize(stored);
    r->fullScale = sourceFrames == m ? 32768.0f : 16384.0f;
  }
  Storage storage(*r);
  const auto n = static_cast<std::int64_t>(sourceFrames);
  const SourceFrames repeats(format, bytes, n, Surroundings::Repeats);

  if (sourceFrames == m) {  // already at the output rate's frame count: no resampling
    constexpr std::size_t kChunk = 4096;
    std::vector<float> frames(kChunk * format.channels);
    for (std::uint64_t at = 0; at < m; at += kChunk) {
      const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, m - at));
      repeats.read(static_cast<std::int64_t>(at), count, frames.data());
      storage.put(at, frames.data(), count);
    }
    return r;
  }

  const auto mm = static_cast<std::int64_t>(m);
  const SourceFrames alone(format, bytes, n, Surroundings::Silence);
  renderWindow(repeats, format.channels, n, mm, 0, mm,
               [&](std::int64_t k, const float* s, std::size_t c) { storage.put(k, s, c); });
  renderWindow(alone, format.channels, n, mm, 0, static_cast<std::int64_t>(r->headFrames),
               [&](std::int64_t k, const float* s, std::size_t c) {
                 storage.put(r->headOffset() + k, s, c);
               });
  renderWindow(alone, format.channels, n, mm, static_cast<std::int64_t>(r->tailStart), mm,
               [&](std::int64_t k, const float* s, std::size_t c) {
                 storage.put(r->tailOffset() + k, s, c);
               });
  return r;
}

}  // namespace vorlanex::engine
