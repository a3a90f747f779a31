// Parsing kernel of the portable profile (INI) reader: pure functions over
// the whole text of a file, with the rules of the Windows profile functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorlanex::platform {

// The value of `key` in the first section named `section` of a profile file's
// text, as written after the '=' (outer quotes kept). Names match without
// regard to ASCII case and their surrounding blanks. Empty when the section or
// the key is missing or the first line of that key has no '='.
std::optional<std::string_view> findProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// The value with one outer pair of matching quotes (' or ") removed.
std::string_view unquoteProfileValue(std::string_view value);

// The integer GetPrivateProfileIntA makes of a non-empty value: the leading
// number after blanks, an optional sign and a base prefix ("0x", "0o", "0b"),
// 0 when there is none, wrapping modulo 2^32.
std::int32_t profileValueToInt(std::string_view value);

}  // namespace vorlanex::platform
