// The aircraft's panel.cfg, as far as it concerns this module: the gauge
// lines that load it and the INI file each names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problem.h"

namespace vorlanex::panel {

// A line such as "gauge20=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/cabin.ini".
struct GaugeLine {
  int line;
  std::string key;         // "gauge20"
  std::string gauge;       // the name after '!'
  std::string parameters;  // what follows the position and size, trimmed
};

// Every gauge line of the module, in file order. The position and size are
// the one to four numbers after the gauge's name; the parameter string is the
// rest of the line.
std::vector<GaugeLine> findModuleGauges(std::string_view text);

Problems checkPanelConfig(const std::string& file, std::string_view text);

}  // namespace vorlanex::panel
