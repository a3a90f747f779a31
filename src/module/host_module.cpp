#include "module/host_module.h"

#include "platform/dynamic_library.h"

namespace vorlanex {
namespace {

void* handle = nullptr;

}  // namespace

void takeHostModuleHandle() { handle = platform::findLoadedLibrary(kHostModuleName); }

void* hostModuleHandle() { return handle; }

}  // namespace vorlanex
