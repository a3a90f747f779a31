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
  // The place and size the numbers after the name give, in the window's
  // units; 0 where the line gives none (a gauge keeps its own size).
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

// A window section: [WindowNN] (2D) or [VcockpitNN] (virtual cockpit).
struct PanelWindow {
  std::string section;
  int line;
  bool hidden;  // visible=0: closed until the pilot first opens it
  std::string ident = "";  // ident=: what gauges and key commands open it by
  // Its name in [Window Titles], else its background's file=.
  std::string title = "";
  double width = 0.0;  // size_mm=W,H (or size=W,H): the units gauge lines place in
  double height = 0.0;
  std::string background = "";  // file=: the bitmap stretched over the window, in the panel's folder
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
bool isModuleGauge(const GaugeLine& gauge);

// The INI path the module reads in this panel: the parameter string of its
// first gauge line; "" (the default file) when it has none.
std::string moduleParameters(std::string_view text);

Problems checkPanelConfig(const std::string& file, std::string_view text);

}  // namespace vorlanex::tool
