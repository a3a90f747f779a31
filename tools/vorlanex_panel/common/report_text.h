// How the tool writes keys and numbers, the same in every message.
#pragma once

#include <string>

namespace vorlanex::tool {

// A key of the INI file for a sound: the prefix and the index as two digits
// ("Sound03", "Lvar12"); with an empty prefix, the two digits alone.
std::string indexedKey(const char* prefix, int index);

// A value as short as it reads exactly enough for people: 1, 0.5, -200002.
std::string shortNumber(double value);

}  // namespace vorlanex::tool
