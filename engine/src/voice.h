// A buffer's playback: its play cursor, play state, gains and rendering.
//
// The cursor counts in 1/M of a source frame, where the buffer's N source
// frames play in M output frames, and moves N per output frame. So the
// source frame (cursor / M) follows the output clock in whole numbers, and
// the rendering's frame (cursor / N) moves exactly one per output frame,
// running from M - 1 into 0 when a loop wraps.
#pragma once

#include <cstdint>
#include <memory>

#include "rendering.h"

namespace vorlanex::engine {

struct Voice {
  std::uint64_t sourceFrames = 1;  // N
  std::uint64_t outputFrames = 1;  // M
  std::uint64_t cursor = 0;        // < N * M
  bool playing = false;
  bool looping = false;
  // Run from its end into its start since it was last put at a position:
  // from then on its first frames follow its last ones instead of silence.
  bool hasLooped = false;
  float left = 1.0f;
  float right = 1.0f;
  std::unique_ptr<const Rendering> rendering;  // null: silence

  std::uint64_t sourceFrame() const { return cursor / outputFrames; }
  void moveTo(std::uint64_t sourceFrame) {
    cursor = sourceFrame * outputFrames;
    hasLooped = false;
  }
};

// Plays `frames` output frames of a playing voice: adds them into `out`
// (2 floats a frame; null: only the cursor moves) and advances the cursor.
// A loop wraps; a sound played once stops at its end with its cursor at 0.
void playVoice(Voice& voice, float* out, std::uint64_t frames);

}  // namespace vorlanex::engine
