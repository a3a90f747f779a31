// The page's clicks as the steps of a script: what an XML gauge or the
// simulator would do. A click names sounds by their index, never a variable
// or a file, so a request can only do what the page's buttons can.
#pragma once

#include <string>
#include <vector>

#include "panel_facts.h"
#include "script.h"

namespace vorlanex::panel {

// The simulator's side as the steps queued so far leave it.
struct SimulatorState {
  bool globalDll = true;
  bool soundOn = true;
};

struct PageAction {
  std::vector<Step> steps;  // carried out at the start of the next frame, in order
  bool quit = false;
  std::string refusal;      // why nothing can be done; empty when it can
};

// Reads one action, a JSON object:
//   {"do":"set","sound":1,"value":-200002}   a command written into the sound's variable
//   {"do":"volume","sound":1,"percent":70}   zeb_xml_sound_volume, then code 3
//   {"do":"read-volume","sound":1}           code 4
//   {"do":"stop-all"}  {"do":"sound","on":false}  {"do":"load-global"}  {"do":"quit"}
// `simulator` is brought up to date with the steps.
PageAction readPageAction(const std::string& body, const PanelFacts& panel,
                          SimulatorState& simulator);

}  // namespace vorlanex::panel
