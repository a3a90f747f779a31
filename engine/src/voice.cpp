#include "voice.h"

#include <algorithm>

#include "mix_kernel.h"

namespace vorlanex::engine {
namespace {

// Mixes up to `frames` frames from rendering frame `k` on, as far as the
// version of the content that applies there reaches; returns how many.
std::uint64_t mixSpan(const Voice& v, std::uint64_t k, std::uint64_t frames, float* out) {
  const Rendering& r = *v.rendering;
  std::uint64_t at = k;
  std::uint64_t reach;
  if (!v.hasLooped && k < r.headFrames) {
    at = r.headOffset() + k;
    reach = r.headFrames - k;
  } else if (!v.looping && k >= r.tailStart) {
    at = r.tailOffset() + k;
    reach = r.frames - k;
  } else {
    reach = (v.looping ? r.frames : r.tailStart) - k;
  }
  const std::uint64_t n = std::min(frames, reach);
  const std::size_t from = at * r.channels;
  const float left = v.left / r.fullScale;
  const float right = v.right / r.fullScale;
  if (r.isFloat()) {
    const float* in = r.float32.data() + from;
    r.channels == 1 ? mixMono(out, in, n, left, right) : mixStereo(out, in, n, left, right);
  } else {
    const std::int16_t* in = r.pcm16.data() + from;
    r.channels == 1 ? mixMono(out, in, n, left, right) : mixStereo(out, in, n, left, right);
  }
  return n;
}

}  // namespace

void playVoice(Voice& v, float* out, std::uint64_t frames) {
  const std::uint64_t n = v.sourceFrames;
  const std::uint64_t period = n * v.outputFrames;
  const bool audible = out != nullptr && v.rendering && (v.left > 0.0f || v.right > 0.0f);
  if (!audible && v.looping) {  // nothing to hear: jump straight to where it ends up
    const std::uint64_t to = v.cursor + frames * n;
    v.hasLooped = v.hasLooped || to >= period;
    v.cursor = to % period;
    return;
  }
  while (frames > 0 && v.playing) {
    const std::uint64_t k = v.cursor / n;
    std::uint64_t run = std::min(frames, v.outputFrames - k);
    if (audible) {
      run = mixSpan(v, k, run, out);
      out += 2 * run;
    }
    v.cursor += run * n;
    frames -= run;
    if (v.cursor >= period) {
      if (v.looping) {
        v.cursor -= period;
        v.hasLooped = true;
      } else {
        v.playing = false;
        v.moveTo(0);
      }
    }
  }
}

}  // namespace vorlanex::engine
