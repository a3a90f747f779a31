#include "mix_kernel.h"

namespace vorlanex::engine {
namespace {

template <typename Sample>
[[gnu::always_inline]] inline void addMono(float* __restrict out, const Sample* __restrict in,
                                           std::size_t frames, float left, float right) {
  for (std::size_t i = 0; i < frames; ++i) {
    const float s = static_cast<float>(in[i]);
    out[2 * i] += left * s;
    out[2 * i + 1] += right * s;
  }
}

template <typename Sample>
[[gnu::always_inline]] inline void addStereo(float* __restrict out, const Sample* __restrict in,
                                             std::size_t frames, float left, float right) {
  for (std::size_t i = 0; i < frames; ++i) {
    out[2 * i] += left * static_cast<float>(in[2 * i]);
    out[2 * i + 1] += right * static_cast<float>(in[2 * i + 1]);
  }
}

}  // namespace

// Each kernel is built twice, for AVX2 and for the baseline, and the loader
// picks the one the processor runs: mixing many voices is mostly moving
// their samples through these loops.

[[gnu::target_clones("avx2", "default")]] void mixMono(float* out, const std::int16_t* in,
                                                       std::size_t frames, float left,
                                                       float right) {
  addMono(out, in, frames, left, right);
}

[[gnu::target_clones("avx2", "default")]] void mixStereo(float* out, const std::int16_t* in,
                                                         std::size_t frames, float left,
                                                         float right) {
  addStereo(out, in, frames, left, right);
}

[[gnu::target_clones("avx2", "default")]] void mixMono(float* out, const float* in,
                                                       std::size_t frames, float left,
                                                       float right) {
  addMono(out, in, frames, left, right);
}

[[gnu::target_clones("avx2", "default")]] void mixStereo(float* out, const float* in,
                                                         std::size_t frames, float left,
                                                         float right) {
  addStereo(out, in, frames, left, right);
}

}  // namespace vorlanex::engine
