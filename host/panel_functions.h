// The host's panel function table: the functions the module calls through
// its ImportTable, served by the active PanelHost.
#pragma once

#include "panel/gauge_abi.h"

namespace vorlanex::host {

class PanelHost;

// Fills `table` and makes `host` the one its functions serve (null: none).
void fillPanelFunctions(abi::HostPanels& table);
void setActiveHost(PanelHost* host);
PanelHost* activeHost();

}  // namespace vorlanex::host
