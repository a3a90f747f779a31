#include "config/load_configuration.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config/ini_layout.h"
#include "config/volume_percent.h"
#include "panel/host_panels.h"
#include "platform/profile_file.h"

namespace vorlanex {

namespace {

constexpr int kValueSize = ini::kValueLength + 1;
constexpr int kMaxSoundsSize = ini::kMaxSoundsLength + 1;

template <std::size_t N>
void copyText(char (&to)[N], const char* from, std::size_t length) {
  if (length > N - 1) length = N - 1;
  std::memcpy(to, from, length);
  to[length] = '\0';
}

template <std::size_t N>
void copyText(char (&to)[N], const char* from) {
  copyText(to, from, std::strlen(from));
}

int soundCountFrom(const char* maxSoundsText) {
  int count = std::atoi(maxSoundsText);
  // A negative count would put the stop-all slot outside the table: it means
  // no sounds, as a value that is not a number does.
  if (count < 0) return 0;
  return count > kMaxSounds ? kMaxSounds : count;
}

void readSound(const char* iniPath, int index, SoundSlot& slot) {
  char key[16];
  char value[kValueSize];

  std::snprintf(key, sizeof key, "%s%02d", ini::kSoundKeyPrefix, index);
  platform::readProfileString(ini::kSoundsSection, key, "", value, kValueSize, iniPath);
  if (value[0] != '\0') {
    parseSoundEntry(value, slot);
  } else {
    std::snprintf(slot.wavePath, sizeof slot.wavePath, ini::kDefaultWavePathFormat, index);
    slot.volume = 0.0f;
  }

  std::snprintf(key, sizeof key, "%s%02d", ini::kVariableKeyPrefix, index);
  platform::readProfileString(ini::kVariablesSection, key, "", value, kValueSize, iniPath);
  if (value[0] != '\0') {
    copyText(slot.varName, value);
  } else {
    std::snprintf(slot.varName, sizeof slot.varName, ini::kDefaultVariableFormat, index);
  }
}

// The host sees each registration followed at once by a look-up of the same
// name; the look-up's id is the one kept.
template <typename Slot>
void registerSlotVariable(Slot& slot, const PanelServices& panel) {
  panel.registerName(slot.varName);
  slot.varId = panel.lookup(slot.varName);
}

}  // namespace

void chooseIniPath(const char* parameters, char (&path)[kIniPathSize]) {
  if (parameters == nullptr || parameters[0] == '\0') {
    copyText(path, kDefaultIniPath);
  } else if (std::strlen(parameters) < kIniPathSize) {
    copyText(path, parameters);
  } else {
    path[0] = '\0';
  }
}

void parseSoundEntry(const char* value, SoundSlot& slot) {
  const char* comma = std::strchr(value, ',');
  if (comma == nullptr) {
    copyText(slot.wavePath, value);
    slot.volume = 0.0f;
    return;
  }
  copyText(slot.wavePath, value, static_cast<std::size_t>(comma - value));
  slot.volume = static_cast<float>(percentToHundredths(std::atof(comma + 1)));
}

void readSoundTable(const char* iniPath, SoundTable& table, const PanelServices& panel) {
  char maxSounds[kMaxSoundsSize];
  platform::readProfileString(ini::kConfigSection, ini::kMaxSoundsKey, ini::kDefaultMaxSounds,
                              maxSounds, kMaxSoundsSize, iniPath);
  const std::int32_t errorFlag = platform::readProfileInt(
      ini::kConfigSection, ini::kErrorFlagKey, ini::kDefaultErrorFlag, iniPath);

  table.soundCount = soundCountFrom(maxSounds);
  std::memset(table.slots, 0, sizeof(SoundSlot) * static_cast<std::size_t>(table.soundCount));
  table.stopAll = {};
  table.errorValue = ini::errorValueFor(errorFlag);

  for (int i = table.soundCount - 1; i >= 0; --i) {
    SoundSlot& slot = table.slots[i];
    readSound(iniPath, i, slot);
    registerSlotVariable(slot, panel);
    slot.started = 0;
    slot.loaded = 0;
  }

  StopAllVariable& stopAll = table.stopAll;
  char value[kValueSize];
  platform::readProfileString(ini::kConfigSection, ini::kStopVariableKey,
                              ini::kDefaultStopVariable, value, kValueSize, iniPath);
  copyText(stopAll.varName, value[0] != '\0' ? value : ini::kDefaultStopVariable);
  registerSlotVariable(stopAll, panel);
}

}  // namespace vorlanex
