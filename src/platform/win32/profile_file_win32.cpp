// The profile seam on Windows: the system's own profile functions.
#include "platform/profile_file.h"

#include "windows_headers.h"

namespace vorlanex::platform {

std::uint32_t readProfileString(const char* section, const char* key, const char* defaultValue,
                                char* out, std::uint32_t size, const char* path) {
  return GetPrivateProfileStringA(section, key, defaultValue, out, size, path);
}

std::int32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                            const char* path) {
  return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

}  // namespace vorlanex::platform
