// The INI file as the module reads it: its sections and keys, the lengths it
// keeps, the defaults it takes. The tool's checks name them from here, so
// they cannot drift from what the module does.
#pragma once

#include <cstdint>

namespace vorlanex::ini {

constexpr const char* kConfigSection = "Config";
constexpr const char* kSoundsSection = "Sounds";
constexpr const char* kVariablesSection = "LVars";

constexpr const char* kMaxSoundsKey = "MaxSounds";
constexpr const char* kErrorFlagKey = "ErrorFlag";
constexpr const char* kStopVariableKey = "LvarStop";
// Sounds and variables are keyed by prefix and two digits: "Sound03", "Lvar03".
constexpr const char* kSoundKeyPrefix = "Sound";
constexpr const char* kVariableKeyPrefix = "Lvar";

// Every text value is read into a buffer of 128 bytes, and MaxSounds into one
// of 5: longer values are cut to these lengths.
constexpr int kValueLength = 127;
constexpr int kMaxSoundsLength = 4;

constexpr const char* kDefaultMaxSounds = "100";
constexpr std::int32_t kDefaultErrorFlag = 0;
constexpr const char* kDefaultStopVariable = "zeb_stop_sounds";
// printf formats of sound NN's defaults, taken for a missing or empty entry.
constexpr const char* kDefaultWavePathFormat = "./Sound/zeb/zeb_xml_%02d.wav";
constexpr const char* kDefaultVariableFormat = "zeb_xml_id_%02d";

// Written into a sound's variable when it cannot play: -1 for an ErrorFlag
// of exactly -1 (as the profile functions read it), 0 for anything else.
constexpr std::int32_t errorValueFor(std::int32_t errorFlag) { return errorFlag == -1 ? -1 : 0; }

}  // namespace vorlanex::ini
