#include "sound_files.h"

namespace vorlanex::panel {

// The module's WAV reader and sound device are not in the tool yet: once they
// are, each sound's file is opened with the module's reader and its format
// offered to the device here.
Problems checkSoundFiles(const std::string& /*file*/, const SoundTable& /*table*/,
                         const KeyLines& /*keys*/) {
  return {};
}

}  // namespace vorlanex::panel
