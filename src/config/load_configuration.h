// Reads the module's INI file into the slot table.
#pragma once

#include <cstdint>

#include "config/slot_table.h"
#include "panel/host_panels.h"

namespace vorlanex {

constexpr const char* kDefaultIniPath = "./Gauges/zeb_xml_sound.ini";
constexpr int kIniPathSize = 136;

// The INI path for a parameter string: the default for a null or empty one,
// the string itself when it fits the path buffer, and "" (no file, so every
// default applies) for one too long to fit: a cut path could name another file.
void chooseIniPath(const char* parameters, char (&path)[kIniPathSize]);

// Fills `table` from the INI file at `iniPath` and registers its variables:
// sounds from the highest index down, each registration followed by a look-up
// whose id is kept, the stop-all variable last.
void readSoundTable(const char* iniPath, SoundTable& table, const PanelServices& panel);

// Splits a Sounds value at its first comma into the WAV path and the volume
// in percent, stored as hundredths of a decibel; without a comma the whole
// value is the path at volume 0.
void parseSoundEntry(const char* value, SoundSlot& slot);

}  // namespace vorlanex
