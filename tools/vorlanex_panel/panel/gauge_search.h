// A panel's gauges found as the simulator finds them, and the L: variables
// its XML gauges read and write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel_cfg.h"
#include "problem.h"
#include "xml_gauge.h"

namespace vorlanex::tool {

struct FoundGauge {
  enum class Kind { kNotFound, kCompiled, kCabinet, kFolder };
  GaugeLine line;
  Kind kind = Kind::kNotFound;
  // Where it was found, as shown: "Gauges/cabin.cab:fan_switch.xml"; empty
  // when it was not.
  std::string where;
  std::optional<std::string> text;  // an XML gauge's text; none for any other
  // An XML gauge's folder or cabinet, as the file system takes it: where the
  // images beside it are.
  std::string container = "";
  // "FILE!NAME" as the files found spell it (panel.cfg's "cabin!Door_Handle"
  // is "Cabin!door_handle" for Cabin.cab holding door_handle.xml); as
  // panel.cfg writes it when the gauge is found nowhere.
  std::string name = "";
  // The file it was read from, as the file system takes it: the XML file or
  // its cabinet, which a save of the gauge changes.
  std::string file = "";
  // Its XML could not be read even leniently (or not decoded): a save
  // broken this way is not taken.
  bool unreadable = false;
};

// The file `name` beside the XML gauge `gauge` (in its folder or its
// cabinet), whole; nothing when there is none or it cannot be read.
std::optional<std::string> readBesideGauge(const FoundGauge& gauge, const std::string& name);

// A variable use of an XML gauge, with the gauge's file as shown.
struct PanelUse {
  std::string file;
  ScriptUse script;
};

struct PanelGauges {
  std::vector<FoundGauge> gauges;  // every gauge line of the window sections
  std::vector<PanelUse> uses;      // of each XML file once, however many lines load it
  Problems problems;               // gauges found nowhere, cabinets and XML files unreadable
};

// Finds every gauge of the panel.cfg at `panelPath` (whose text is `text`),
// in the simulator's order: FILE.gau, NAME.xml in FILE.cab, NAME.xml in the
// folder FILE, first in the panel's folder, then in the simulator's Gauges
// folder (relative to the current directory, the simulator's root). Files
// are shown relative to `shownPath`, the panel.cfg as the author named it,
// and to the root.
PanelGauges findPanelGauges(const std::string& panelPath, const std::string& shownPath,
                            std::string_view text);

}  // namespace vorlanex::tool
