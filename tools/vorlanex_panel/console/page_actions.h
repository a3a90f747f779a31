// The page's clicks as the steps of a script: what an XML gauge or the
// simulator would do. A click names sounds by their index, never a variable
// or a file, so a request can only do what the page's buttons can.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gauge_view.h"
#include "panel_facts.h"
#include "script.h"

namespace vorlanex::tool {

// The simulator's side as the steps queued so far leave it.
struct SimulatorSide {
  bool globalDll = true;
  bool soundOn = true;
  std::vector<bool> windowsOpen = {};  // by window of the panel's gauges
};

struct PageAction {
  std::vector<Step> steps;  // carried out at the start of the next frame, in order
  bool quit = false;
  std::string refusal;      // why nothing can be done; empty when it can
};

// Reads one action, a JSON object:
//   {"do":"command","sound":1,"code":2,"pan":-2000}   a command written into the
//                                                     sound's variable, as gauges write it
//   {"do":"set","sound":1,"value":-200002}   a number written into the sound's variable
//   {"do":"volume","sound":1,"percent":70}   zeb_xml_sound_volume, then code 3
//   {"do":"read-volume","sound":1}           code 4
//   {"do":"stop-all"}  {"do":"sound","on":false}  {"do":"load-global"}  {"do":"quit"}
// and with the panel's gauges (`gauges`), which are named by their indexes:
//   {"do":"click","gauge":4,"area":1,"kind":"LeftSingle"}  an area the kind reaches,
//     with "x" and "y" (M:X, M:Y, in the gauge's pixels) for a point in it
//   {"do":"window","window":1,"open":true}
//   {"do":"aircraft","variable":0,"value":1}   a simulated variable, not the clock's
//   {"do":"event","event":"TOGGLE_MASTER_BATTERY","value":0}  an event the aircraft knows
// `simulator` is brought up to date with the steps.
PageAction readPageAction(const std::string& body, const PanelFacts& panel,
                          SimulatorSide& simulator, const GaugeView* gauges = nullptr);

// The number a gauge writes for {"code":2,"pan":-2000}, which the page shows
// as XML: the module's own encoding, so the page keeps no copy of it. Nothing,
// with the reason in `refusal`, for a body that is no such command.
std::optional<std::int32_t> readCommandValue(const std::string& body, std::string& refusal);

}  // namespace vorlanex::tool
