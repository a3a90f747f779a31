// The profile seam without Windows: reads the file itself and looks values up
// with the rules of GetPrivateProfileStringA / GetPrivateProfileIntA.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "platform/portable/ini_text.h"
#include "platform/portable/windows_path.h"
#include "platform/profile_file.h"

namespace vorlanex::platform {
namespace {

// A name without a separator lives in the Windows directory, which we do not
// have: it reads as a missing file, as do a null or empty name.
std::optional<std::string> readProfileText(const char* path) {
  if (path == nullptr || std::strpbrk(path, "\\/") == nullptr) return std::nullopt;
  std::ifstream file(resolveWindowsPath(path), std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The value as the caller sees it (outer quotes removed), or nothing.
std::optional<std::string> lookUp(const char* section, const char* key, const char* path) {
  if (section == nullptr || key == nullptr) return std::nullopt;
  const std::optional<std::string> text = readProfileText(path);
  if (!text) return std::nullopt;
  const std::optional<std::string_view> value = findProfileValue(*text, section, key);
  if (!value) return std::nullopt;
  return std::string(unquoteProfileValue(*value));
}

// Only spaces are cut from a default; tabs and the like stay.
std::string_view trimDefault(const char* defaultValue) {
  std::string_view text = defaultValue == nullptr ? "" : defaultValue;
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::uint32_t copyCut(std::string_view text, char* out, std::uint32_t size) {
  const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
  std::copy_n(text.data(), count, out);
  out[count] = '\0';
  return static_cast<std::uint32_t>(count);
}

}  // namespace

std::uint32_t readProfileString(const char* section, const char* key, const char* defaultValue,
                                char* out, std::uint32_t size, const char* path) {
  if (out == nullptr || size == 0) return 0;
  const std::optional<std::string> value = lookUp(section, key, path);
  return copyCut(value ? std::string_view(*value) : trimDefault(defaultValue), out, size);
}

std::int32_t readProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                            const char* path) {
  const std::optional<std::string> value = lookUp(section, key, path);
  return value && !value->empty() ? profileValueToInt(*value) : defaultValue;
}

}  // namespace vorlanex::platform
