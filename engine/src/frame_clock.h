// The virtual clock's time: a whole number of output frames.
#pragma once

#include <cstdint>

namespace vorlanex::engine {

class FrameClock {
 public:
  // The frames that `seconds` more make. Callers advance by durations that
  // are not whole frames (18 panel frames a second): the fraction left over
  // is carried into the next call, and a total within a millionth of a frame
  // of a whole one counts as that frame, so that a second made of 18 steps
  // is exactly 48000 frames however its steps round.
  std::uint64_t framesFor(double seconds);

  std::uint64_t elapsed() const { return elapsed_; }
  void add(std::uint64_t frames) { elapsed_ += frames; }

 private:
  std::uint64_t elapsed_ = 0;
  double carried_ = 0.0;  // fraction of a frame asked for and not yet made
};

}  // namespace vorlanex::engine
