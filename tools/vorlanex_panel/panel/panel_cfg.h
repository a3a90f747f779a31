// The aircraft's panel.cfg: its windows, their gauge lines, and the module's
// own lines with the INI file each names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problem.h"

namespace vorlanex::tool {

// A line such as "gauge20=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/cabin.ini".
struct GaugeLine {
  int line;
  std::string key;         // "gauge20"
  std::string gauge;       // the name after '!'
  std::string parameters;  // what follows the position and size, trimmed
  std::string file;        // the gauge file's name, before '!'
  std::string section;     // the section the line stands in, "Window00"
};

// A window section: [WindowNN] (2D) or [VcockpitNN] (virtual cockpit).
struct PanelWindow {
  std::string section;
  int line;
  bool hidden;  // visible=0: closed until the pilot first opens it
};

struct PanelLayout {
  std::vector<PanelWindow> windows;
  std::vector<GaugeLine> gauges;  // the gauge lines of the window sections, in file order
};

// The windows and gauge lines of a panel.cfg's text. The position and size
// are the one to four numbers after the gauge's name; the parameter string is
// the rest of the line.
PanelLayout readPanelLayout(std::string_view text);

// Every gauge line of the module, in file order, in any section.
std::vector<GaugeLine> findModuleGauges(std::string_view text);

Problems checkPanelConfig(const std::string& file, std::string_view text);

}  // namespace vorlanex::tool
