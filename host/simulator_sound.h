// The simulator's sound switch, held by our "GLOBAL.DLL" stand-in. Loading
// the stand-in is what makes the switch visible to the module; without it the
// module sees no simulator.
#pragma once

#include <cstdint>
#include <string>

namespace vorlanex::host {

class SimulatorSound {
 public:
  // Loads the stand-in from its file; throws std::runtime_error naming the
  // file when it cannot be loaded.
  explicit SimulatorSound(const std::string& path);
  ~SimulatorSound();
  SimulatorSound(const SimulatorSound&) = delete;
  SimulatorSound& operator=(const SimulatorSound&) = delete;

  std::uint32_t value() const;
  void set(std::uint32_t value);  // 1 sound on, 0 sound off

 private:
  void* library_;
  volatile std::uint32_t* switch_;
};

}  // namespace vorlanex::host
