// The slot table: one record per configured sound plus the stop-all slot.
#pragma once

#include <cstdint>

#include "panel/host_panels.h"

namespace vorlanex {

constexpr int kMaxSounds = 100;
constexpr int kTextSize = 130;  // WAV paths and variable names

// What a sound's slot says it is doing; codes 3 and 4 show it in the
// sound's variable.
enum SlotStatus : std::int32_t {
  kStatusIdle = 0,
  kStatusPlayingOnce = 1,
  kStatusLooping = 2,
};

struct SoundSlot {
  std::int32_t loaded;   // 1 once the sound's file was found and its load tried
  std::int32_t started;  // 1 while a play started by a command is under way
  std::int32_t command;  // the command code decoded this frame
  std::int32_t status;   // a SlotStatus
  float volume;          // stored volume, hundredths of a decibel (0 full)
  char wavePath[kTextSize];
  char varName[kTextSize];
  VariableId varId;
};

// The variable that stops every sound at once.
struct StopAllVariable {
  char varName[kTextSize];
  VariableId varId;
};

struct SoundTable {
  std::int32_t soundCount;  // slots 0 to soundCount - 1 are the sounds
  std::int32_t errorValue;  // written into a sound's variable when it cannot play
  SoundSlot slots[kMaxSounds];
  StopAllVariable stopAll;
};

}  // namespace vorlanex
