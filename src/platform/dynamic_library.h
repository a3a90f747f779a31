// Dynamic library seam: Windows' module functions on the win32 build, the
// dynamic loader natively. The module uses it to find the simulator's
// "GLOBAL.DLL"; the panel host uses it to load the module and the stand-in.
#pragma once

namespace vorlanex::platform {

// The handle of a library the process has already loaded, found by its name
// (GetModuleHandleA); null when it is not loaded. Never loads anything and
// takes no reference on the library.
void* findLoadedLibrary(const char* name);

// The address of an exported function or variable; null when not exported,
// or when the library behind the handle has been unloaded since.
void* findLibrarySymbol(void* library, const char* name);

// Loads a library by path (a fresh copy when it was unloaded before); null on
// failure. Each successful load is paired with one unloadLibrary.
void* loadLibrary(const char* path);
void unloadLibrary(void* library);

// What the file at `path` is when it was built for another system than this
// program's ("a Windows DLL" natively, "a Linux shared library" on Windows),
// or null: a panel author is told that rather than the loader's own words
// ("invalid ELF header").
const char* foreignLibraryKind(const char* path);

// Why the last loadLibrary failed, for error messages.
const char* lastLibraryError();

}  // namespace vorlanex::platform
