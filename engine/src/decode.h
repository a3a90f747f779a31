// Samples in a buffer's own encoding to floats at full scale 1.0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sample_format.h"

namespace vorlanex::engine {

// Decodes `frames` frames starting at `bytes` into `out` (frames x channels
// floats, interleaved as stored). Float samples that are not finite become
// silence, and float samples beyond full scale are clipped to it, so no
// buffer content can poison the mix.
void decodeFrames(const SampleFormat& format, const std::uint8_t* bytes, std::size_t frames,
                  float* out);

}  // namespace vorlanex::engine
