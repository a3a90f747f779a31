// An XML gauge's file as the simulator reads it: its Update, its Elements
// (nested, in file order), its Mouse areas with their Clicks, its Macros and
// Keys. Scripts are kept as text with their lines, macros expanded; the gauge
// instance compiles them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "script_site.h"

namespace vorlanex::gauges {

// A script's text and the file line its first character stands on.
struct ScriptText {
  std::string text;  // entities decoded, child elements (<Comment>) skipped, macros expanded
  int line = 0;
  bool present() const { return line > 0; }
};

struct Rect {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;
  bool contains(double x, double y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
};

struct Click {
  int line = 0;
  std::vector<std::string> kinds;  // "LeftSingle", "Leave"...; LeftSingle when not given
  std::string event;               // Event="KOHLSMAN_INC": sent as a simulator event
  bool repeat = false;             // Repeat="Yes": repeats while the button is held
  ScriptText script;
};

// The gauge-wide <Mouse> is the root area, the whole gauge; its <Area>s nest.
struct MouseArea {
  int line = 0;
  Rect rect;  // in the gauge's pixels, a nested one cut from its parent
  ScriptText visible;   // while it gives 0 the area, and the areas in it, take no click
  std::string tooltip;  // literal text, or the ID="TOOLTIPTEXT_..." named
  std::string help;     // <Help ID="...">, or its text
  std::string cursor;   // Cursor Type
  std::vector<Click> clicks;
  std::vector<MouseArea> areas;
};

struct GaugeElement {
  int line = 0;
  ScriptText visible;
  // The Values of its Rotate, Shift, Select and others, in file order.
  std::vector<ScriptText> values;
  std::vector<ScriptText> strings;  // the texts of <String>, "%( ... )" parts and all
  ScriptText blinkCode;  // <BlinkCode>: the element blinks while it gives other than 0
  std::vector<GaugeElement> children;
  std::string image;  // <Image Name="...">, for drawing
  double x = 0.0;     // <Position X Y>
  double y = 0.0;
};

struct KeyHandler {
  int line = 0;
  std::string key;    // On Key="..." (or Event="...")
  ScriptText script;
};

struct GaugeModel {
  std::string name;        // <Gauge Name>
  std::string image;       // the gauge's background <Image Name>, empty when none
  double width = 0.0;      // from the background Image's ImageSizes, or the Mouse root; 0 when unknown
  double height = 0.0;
  ScriptText update;
  int updateFrequency = 0;  // <Update Frequency="6">; 0 when not given
  std::vector<GaugeElement> elements;
  std::optional<MouseArea> mouse;
  std::map<std::string, std::string> macros;  // by lower-case name
  std::vector<KeyHandler> keys;
};

// Reads a gauge's text. As lenient as the simulator's reader: a closing tag
// naming another element is accepted; a file that cannot be read as XML at
// all gives an empty model. Either becomes a finding at `file` with its line.
GaugeModel readGaugeModel(const std::string& text, const ScriptSite& file, Findings& findings);

}  // namespace vorlanex::gauges
