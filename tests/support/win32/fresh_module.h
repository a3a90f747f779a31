// A fresh module on the win32 build: the real Vorlanex_sound.gau, loaded again.
#pragma once

#include "module_library.h"
#include "support/built_files.h"

namespace vorlanex::test {

struct FreshModule : host::ModuleLibrary {
  FreshModule() : host::ModuleLibrary(modulePath()) {}
};

}  // namespace vorlanex::test
