#include <dlfcn.h>

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

void* findLibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

void* loadLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void unloadLibrary(void* library) { dlclose(library); }

const char* lastLibraryError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown error";
}

}  // namespace vorlanex::platform
