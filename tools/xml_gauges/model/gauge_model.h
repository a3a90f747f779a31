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

// What an element draws, read for drawing. A part's Value is named by its
// index into the element's `values`; -1 when the part has none.
struct NonlinearityItem {
  double value = 0.0;
  double x = 0.0;  // the gauge point aimed at (Rotate) or the offset (Shift)
  double y = 0.0;
  std::optional<double> degrees;  // Degrees="...", instead of X Y
};

struct ValueRange {
  std::optional<double> minimum;
  std::optional<double> maximum;
  double clamp(double value) const;
};

struct ElementImage {
  std::string name;  // empty when none
  double axisX = 0.0;  // <Axis X Y>: the image's point set at the element's place
  double axisY = 0.0;
  std::string pointsTo;  // PointsTo="South": where a needle points as drawn; empty: East
  bool luminous = false;
  bool bright = false;
};

struct ElementMotion {
  int value = -1;
  ValueRange range;
  std::vector<NonlinearityItem> items;
  bool scaled = false;  // <Shift><Scale X Y>
  double scaleX = 0.0;
  double scaleY = 0.0;
  // <Delay DegreesPerSecond> under Rotate, <Delay PixelsPerSecond> under
  // Shift: the most the drawing moves in a second; 0 when not given.
  double delayPerSecond = 0.0;
  bool present = false;
};

struct SelectCase {
  double value = 0.0;
  ElementImage image;
};

struct ElementText {
  int string = -1;  // index into the element's `strings`
  double width = 0.0;   // <Text X Y>: the box
  double height = 0.0;
  std::string font;
  double fontSize = 0.0;  // 0 when not given
  bool fixed = false;
  std::string color;
  std::string background;  // empty: none
  std::string adjust;      // Left, Center, Right
  std::string verticalAdjust;
  bool bright = false;
  bool present = false;
};

struct ElementDrawing {
  ElementImage image;  // the element's own <Image>
  std::optional<ElementImage> mask;
  ElementMotion rotate;
  ElementMotion shift;
  int selectValue = -1;
  std::vector<SelectCase> cases;
  ElementText text;
  int inCase = -1;  // a nested element in a Case: drawn only when the parent shows that case
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
  ElementDrawing drawing;
};

// An <Image> (or <MaskImage>) that gives ImageSizes: the first pair, the
// size it says its bitmap has.
struct DeclaredImageSize {
  int line = 0;
  std::string name;
  double width = 0.0;
  double height = 0.0;
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
  std::vector<DeclaredImageSize> imageSizes;  // in file order
};

// Reads a gauge's text. As lenient as the simulator's reader: a closing tag
// naming another element is accepted; a file that cannot be read as XML at
// all gives an empty model. Either becomes a finding at `file` with its line.
GaugeModel readGaugeModel(const std::string& text, const ScriptSite& file, Findings& findings);

}  // namespace vorlanex::gauges
