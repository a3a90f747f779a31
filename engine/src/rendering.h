// A buffer's content at the output rate, made once per Unlock so that mixing
// is a multiply-add per channel.
//
// A buffer of N source frames plays in M = round(N * 48000 / rate) output
// frames. The body holds those M frames resampled as if the buffer repeated
// forever, so that a loop runs from its last frame into its first without a
// seam. Near the two ends a sound that does not loop hears silence instead,
// so the first and last frames are also kept as they sound with silence
// around the buffer (the head and the tail). The ratio is M/N rather than
// the exact rate ratio: that keeps a loop's period a whole number of output
// frames, at a pitch error below half a frame per pass.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sample_format.h"

namespace vorlanex::engine {

struct Rendering {
  unsigned channels = 1;
  std::uint64_t frames = 0;      // M, the body's length
  std::uint64_t headFrames = 0;  // output frames [0, headFrames) have a head version
  std::uint64_t tailStart = 0;   // output frames [tailStart, M) have a tail version
  // 8- and 16-bit sources are kept as 16-bit samples, the others as floats;
  // exactly one of the two is filled. Layout, in frames: body [0, M), head
  // [M, M + headFrames), tail [M + headFrames, ...).
  std::vector<std::int16_t> pcm16;
  std::vector<float> float32;
  // The stored value of full scale. Resampled 16-bit samples keep 6 dB of
  // headroom, since a band-limited signal peaks between its samples above
  // the source's own largest sample.
  float fullScale = 1.0f;

  std::uint64_t headOffset() const { return frames; }
  // Storage frame of output frame k (k >= tailStart) in the tail.
  std::uint64_t tailOffset() const { return frames + headFrames - tailStart; }
  bool isFloat() const { return !float32.empty(); }
};

// The number of output frames `sourceFrames` at `rate` play in.
std::uint64_t outputFramesFor(std::uint64_t sourceFrames, std::uint32_t rate);

// At most the bytes a rendering of these dimensions takes.
std::uint64_t renderingBytes(const SampleFormat& format, std::uint64_t sourceFrames,
                             std::uint64_t outputFrames);

// Renders `sourceFrames` frames of `bytes` in `format` into `outputFrames`
// frames. Throws std::bad_alloc when memory runs out.
std::unique_ptr<Rendering> renderBuffer(const SampleFormat& format, const std::uint8_t* bytes,
                                        std::uint64_t sourceFrames, std::uint64_t outputFrames);

}  // namespace vorlanex::engine
