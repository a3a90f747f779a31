// Why DirectSound refuses a WAV file's buffer, in words a panel author can
// act on, and its result codes as people read them.
#pragma once

#include <string>

#include "audio/result_codes.h"
#include "wave_files.h"

namespace vorlanex::tool {

// Why the device refused a file's buffer: what in the file DirectSound does
// not take where that can be told from the file itself (so both builds say
// the same), else the device's answer.
std::string describeRefusal(const SoundFileReading& reading);

// A result code as eight hex digits: "0x88780078".
std::string resultCodeText(Result code);

}  // namespace vorlanex::tool
