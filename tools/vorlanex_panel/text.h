// How the tool writes keys and numbers, the same in every message, and the
// small text helpers its readers share.
#pragma once

#include <string>
#include <string_view>

namespace vorlanex::panel {

// A key of the INI file for a sound: the prefix and the index as two digits
// ("Sound03", "Lvar12"); with an empty prefix, the two digits alone.
std::string indexedKey(const char* prefix, int index);

// A value as short as it reads exactly enough for people: 1, 0.5, -200002.
std::string shortNumber(double value);

// `text` without the blanks (spaces, tabs, line ends) at either end.
std::string_view trimBlanks(std::string_view text);

// `text` in ASCII lower case, as Windows compares names.
std::string lowerCase(std::string_view text);

}  // namespace vorlanex::panel
