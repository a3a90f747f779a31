#include <dlfcn.h>
#include <link.h>

#include <cstdio>

#include "platform/dynamic_library.h"

namespace vorlanex::platform {

void* findLoadedLibrary(const char* name) {
  // RTLD_NOLOAD finds a loaded library by its name or SONAME without loading
  // it. It takes a reference, which is given back at once so the library's
  // lifetime stays its loader's business, as with GetModuleHandleA.
  void* library = dlopen(name, RTLD_LAZY | RTLD_NOLOAD);
  if (library != nullptr) dlclose(library);
  return library;
}

namespace {

// A handle the loader handed out is its link map entry. Walking the loaded
// objects only compares addresses, so it is safe for a handle whose library
// has since been unloaded.
bool stillLoaded(void* library) {
  for (const link_map* map = _r_debug.r_map; map != nullptr; map = map->l_next) {
    if (map == library) return true;
  }
  return false;
}

}  // namespace

// As GetProcAddress does with a module that has been freed, a handle whose
// library is gone finds nothing, instead of reading released memory.
void* findLibrarySymbol(void* library, const char* name) {
  return stillLoaded(library) ? dlsym(library, name) : nullptr;
}

void* loadLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void unloadLibrary(void* library) { dlclose(library); }

const char* foreignLibraryKind(const char* path) {
  std::FILE* file = path == nullptr ? nullptr : std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  char magic[2] = {};
  const bool windows = std::fread(magic, 1, 2, file) == 2 && magic[0] == 'M' && magic[1] == 'Z';
  std::fclose(file);
  return windows ? "a Windows DLL" : nullptr;
}

const char* lastLibraryError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown error";
}

}  // namespace vorlanex::platform
