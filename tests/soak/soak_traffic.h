// What the soak throws at the module: numbers gauges might write into the
// panel's variables, values of the simulator's sound switch, faults for the
// sound device and WAV files of every kind, all drawn from one seeded source.
#pragma once

#include <vorlanex_engine/dsound.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "soak/protocol_model.h"

namespace vorlanex::soak {

class Traffic {
 public:
  explicit Traffic(std::uint64_t seed) : random_(seed) {}

  // True with probability `p`.
  bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
  // A whole number from `low` to `high`, both included.
  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  template <typename T>
  const T& pick(const std::vector<T>& choices) {
    return choices[static_cast<std::size_t>(between(0, static_cast<int>(choices.size()) - 1))];
  }

  // Mostly the five commands, with and without pans; also codes that mean
  // nothing, negative values, fractions, NaN, infinities and huge numbers.
  double soundValue();
  double stopAllValue();
  double masterVolume();
  std::uint32_t simulatorSwitch();

  // A failure the device might answer a create or a lock with.
  HRESULT deviceFailure();
  // What Restore answers a lost buffer in turn: short runs, now and then one
  // longer than the module waits for (without pauses, so the run stays fast).
  std::vector<HRESULT> restoreAnswers();

  FileKind fileKind();
  // The bytes of a small file of that kind; `dataBytes` gets the size its
  // "data" chunk declares, `heldBytes` the whole sample frames it holds.
  std::string fileBytes(FileKind kind, std::uint32_t* dataBytes, std::uint32_t* heldBytes);

 private:
  std::mt19937_64 random_;
};

}  // namespace vorlanex::soak
