// Problems of the sounds' WAV files.
#pragma once

#include <string>

#include "config/slot_table.h"
#include "ini_scan.h"
#include "problem.h"

namespace vorlanex::panel {

// The WAV file problems of every configured sound: a file that is missing,
// one the module's WAV reader refuses (and at which stage), one whose format
// the sound device refuses. Paths are relative to the current directory, the
// simulator's root folder; `keys` names the SoundNN line of each sound
// ("Sound03"), 0 for a default path.
Problems checkSoundFiles(const std::string& file, const SoundTable& table, const KeyLines& keys);

}  // namespace vorlanex::panel
