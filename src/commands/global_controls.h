// The two module-wide controls that follow the per-sound scan every frame:
// the stop-all variable and the simulator's own sound switch.
#pragma once

#include "commands/module_state.h"

namespace vorlanex {

// A stop-all value above 0 stops and rewinds every playing sound and hands
// its variable back as 0. Then the simulator's sound switch is mirrored into
// "zeb_sound_indicator", and each change of it mutes or restores every loaded
// sound once.
void runGlobalControls(ModuleState& state);

}  // namespace vorlanex
