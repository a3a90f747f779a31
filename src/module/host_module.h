// The simulator's module "GLOBAL.DLL", which holds its sound switch.
#pragma once

namespace vorlanex {

constexpr const char* kHostModuleName = "GLOBAL.DLL";

// Takes the handle of "GLOBAL.DLL" if the simulator has it loaded; null
// otherwise. Never loads the library itself.
void takeHostModuleHandle();
void* hostModuleHandle();

}  // namespace vorlanex
