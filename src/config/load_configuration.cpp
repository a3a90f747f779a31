#include "config/load_configuration.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config/volume_percent.h"
#include "panel/host_panels.h"
#include "platform/profile_file.h"

namespace vorlanex {

namespace {

constexpr int kValueSize = 128;    // every INI text value is cut to 127 characters
constexpr int kMaxSoundsSize = 5;  // only the first 4 characters of MaxSounds count
constexpr const char* kDefaultStopVariable = "zeb_stop_sounds";

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

  std::snprintf(key, sizeof key, "Sound%02d", index);
  platform::readProfileString("Sounds", key, "", value, kValueSize, iniPath);
  if (value[0] != '\0') {
    parseSoundEntry(value, slot);
  } else {
    std::snprintf(slot.wavePath, sizeof slot.wavePath, "./Sound/zeb/zeb_xml_%02d.wav", index);
    slot.volume = 0.0f;
  }

  std::snprintf(key, sizeof key, "Lvar%02d", index);
  platform::readProfileString("LVars", key, "", value, kValueSize, iniPath);
  if (value[0] != '\0') {
    copyText(slot.varName, value);
  } else {
    std::snprintf(slot.varName, sizeof slot.varName, "zeb_xml_id_%02d", index);
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
  platform::readProfileString("Config", "MaxSounds", "100", maxSounds, kMaxSoundsSize, iniPath);
  const std::int32_t errorFlag = platform::readProfileInt("Config", "ErrorFlag", 0, iniPath);

  table.soundCount = soundCountFrom(maxSounds);
  std::memset(table.slots, 0, sizeof(SoundSlot) * static_cast<std::size_t>(table.soundCount));
  table.stopAll = {};
  table.errorValue = errorFlag == -1 ? -1 : 0;

  for (int i = table.soundCount - 1; i >= 0; --i) {
    SoundSlot& slot = table.slots[i];
    readSound(iniPath, i, slot);
    registerSlotVariable(slot, panel);
    slot.started = 0;
    slot.loaded = 0;
  }

  StopAllVariable& stopAll = table.stopAll;
  char value[kValueSize];
  platform::readProfileString("Config", "LvarStop", kDefaultStopVariable, value, kValueSize,
                              iniPath);
  copyText(stopAll.varName, value[0] != '\0' ? value : kDefaultStopVariable);
  registerSlotVariable(stopAll, panel);
}

}  // namespace vorlanex
