// Everything the module keeps from load to unload, in one object. The loaded
// module has one, reached only by its service dispatch; a tool or a test may
// build as many as it likes, each with the host record it is served through.
#pragma once

#include <cstdint>

#include "audio/sound_buffers.h"
#include "config/load_configuration.h"
#include "config/slot_table.h"
#include "panel/host_panels.h"
#include "sound_api.h"

namespace vorlanex {

// The simulator's sound switch as the module last saw it: -1 until the first
// frame in which the switch was read, then its last 32-bit value (0 sound
// off, 1 sound on).
constexpr std::int32_t kSoundUnknown = -1;
constexpr std::int32_t kSoundOff = 0;
constexpr std::int32_t kSoundOn = 1;

struct SimulatorSwitch {
  void* globalDll = nullptr;  // the simulator's "GLOBAL.DLL", null until found
  std::int32_t lastState = kSoundUnknown;
};

struct ModuleState {
  explicit constexpr ModuleState(const abi::ImportRecord* imports) : panel(imports) {}

  PanelServices panel;
  // 1 once the first post-install has read the configuration; never reset.
  // The per-frame work waits for it.
  std::int32_t configured = 0;
  char iniPath[kIniPathSize] = {};
  // 100 sounds, all zero, until the configuration is read.
  SoundTable table = {kMaxSounds, 0, {}, {}};
  IDirectSound* device = nullptr;
  SoundBuffer sounds[kMaxSounds] = {};  // sound i plays slot i of the table
  SimulatorSwitch simulator;
};

// Whether sounds are to be heard at their own volumes: with the simulator's
// sound on, and where its switch cannot be read at all (no GLOBAL.DLL), so
// that the panel's volumes still count there.
inline bool storedVolumesHeard(const SimulatorSwitch& simulator) {
  return simulator.lastState == kSoundOn || simulator.lastState == kSoundUnknown;
}

}  // namespace vorlanex
