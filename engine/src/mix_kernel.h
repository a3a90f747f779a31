// The mixing kernels: one voice's frames, scaled by a gain per output
// channel, added into interleaved float stereo. Pure functions over plain
// arrays, compiled for vectorising; the rest of the mixer only picks spans.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorlanex::engine {

// The gains include the scale of the samples. A mono sample feeds both
// channels; stereo feeds left to left and right to right.
void mixMono(float* out, const std::int16_t* in, std::size_t frames, float left, float right);
void mixStereo(float* out, const std::int16_t* in, std::size_t frames, float left, float right);
void mixMono(float* out, const float* in, std::size_t frames, float left, float right);
void mixStereo(float* out, const float* in, std::size_t frames, float left, float right);

}  // namespace vorlanex::engine
