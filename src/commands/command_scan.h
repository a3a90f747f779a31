// The per-frame work of the pre-update service.
#pragma once

#include "commands/module_state.h"

namespace vorlanex {

// Reads every sound's variable and acts on its command, then handles the
// stop-all variable and the simulator's sound switch. Does nothing until the
// configuration has been read.
void scanCommands(ModuleState& state);

}  // namespace vorlanex
