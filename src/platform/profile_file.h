// Profile (INI) file seam: the two Windows profile-file reads the configuration
// needs. The win32 build calls GetPrivateProfileStringA / GetPrivateProfileIntA;
// the portable build reads the file itself with the same rules, so a panel's
// INI file gives the same values on both.
#pragma once

#include <cstdint>

namespace vorlanex::platform {

// Copies the value of `key` in `section` of the profile file at `path` into
// `out` (capacity `size` bytes, always NUL-terminated when size > 0) and
// returns the number of characters copied without the terminator. A value
// that does not fit is cut to size - 1 characters. When the file, the section
// or the key is missing, or the key line has no '=', `defaultValue` is copied
// instead (null means ""), with its trailing spaces removed.
std::uint32_t readProfileString(const char* section, const char* key, const char* defaultValue,
                                char* out, std::uint32_t size, const char* path);

// Reads the value of `key` in `section` as an integer in the manner of
// GetPrivateProfileIntA: `defaultValue` when the value is missing or empty,
// otherwise the leading number of the text (0 when there is none), wrapping
// modulo 2^32.
std::int32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                            const char* path);

}  // namespace vorlanex::platform
