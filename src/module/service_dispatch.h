// The services the host calls, carried out on a module state.
#pragma once

#include <cstdint>

#include "commands/module_state.h"
#include "panel/gauge_abi.h"

namespace vorlanex {

// Carries out one service call on `state`: pre-install opens the device and
// looks for the simulator's switch, the first post-install reads the
// configuration the gauge's parameter string names, connect registers the
// status variables, pre-update runs the frame's commands and disconnect
// releases every sound. Other service codes are ignored. The exported
// service callback calls this with the loaded module's own state.
void serveModule(ModuleState& state, const abi::GaugeHeader* gauge, std::int32_t service);

}  // namespace vorlanex
