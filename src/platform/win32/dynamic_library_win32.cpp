#include "platform/dynamic_library.h"

#include "windows_headers.h"

#include <cstdio>

namespace vorlanex::platform {

void* findLoadedLibrary(const char* name) {
  return reinterpret_cast<void*>(GetModuleHandleA(name));
}

void* findLibrarySymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void* loadLibrary(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }

void unloadLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

const char* foreignLibraryKind(const char* path) {
  std::FILE* file = path == nullptr ? nullptr : std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  char magic[4] = {};
  const bool elf = std::fread(magic, 1, 4, file) == 4 && magic[0] == '\x7f' && magic[1] == 'E' &&
                   magic[2] == 'L' && magic[3] == 'F';
  std::fclose(file);
  return elf ? "a Linux shared library" : nullptr;
}

const char* lastLibraryError() {
  static char text[64];
  std::snprintf(text, sizeof text, "Windows error %lu", GetLastError());
  return text;
}

}  // namespace vorlanex::platform
