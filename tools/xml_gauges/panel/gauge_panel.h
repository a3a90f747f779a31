// A panel's XML gauges running frame by frame, as the simulator runs them:
// every gauge of every open window in panel.cfg's order, each its Update and
// then its elements depth-first, with the panel's other gauges (the sound
// module) run at their own place in that order.
//
// Where no source tells what the simulator does, the panel does what working
// panels rely on:
// - An element whose Visible gives 0 runs nothing more: neither its own
//   Values and Strings nor its children. Logic that must always run stands
//   in an element without Visible, or in the Update.
// - An element runs its Visible, then its BlinkCode, then its Values in
//   file order, then its Strings, then its children. The elements in all
//   Cases of a Select run, whichever case the Select shows.
// - One stack per gauge cycle, cleared when the cycle starts, shared by the
//   Update and the element scripts of that cycle (script_stack.h holds the
//   rule): what the Update leaves is what an element's empty write takes.
//   A Visible's, a Value's and a string's %( ) value is taken off it.
//   Clicks and keys run between cycles, each on a fresh stack.
// - <Update Frequency="N"> sets how often the whole gauge runs, Update and
//   elements: about N times a second, at most once a frame, first in the
//   first frame (Frequency 6 on the 18 Hz cycle: every third frame). Without
//   it, or with N above the frame rate, the gauge runs every frame.
// - A mouse area whose <Visible> gives 0 when clicked takes no click, nor do
//   the areas in it.
// - Gauges of a closed window neither run nor take clicks; visible=0 windows
//   start closed. A gauge whose section names no window runs after the
//   windows' gauges, as if its window were always open.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gauge_model.h"
#include "script_site.h"
#include "shared_variables.h"
#include "simulated_aircraft.h"

namespace vorlanex::gauges {

struct PanelWindowSection {
  std::string section;  // "Window02"
  std::string ident;    // ident=..., empty when none
  std::string title;    // file=... / title=..., for showing
  bool open = true;     // visible=0 windows start closed
  double width = 0.0;   // size=W,H when given
  double height = 0.0;
  std::string background = "";  // file=: its bitmap, as panel.cfg names it; empty when none
};

struct PanelGaugeLine {
  std::string section;  // the window it stands in
  std::string name;     // "cabin_switches!door_switch", as its files spell it
  std::string file;     // the XML file as shown: "Gauges/cabin_switches.cab:door_switch.xml"
  std::optional<std::string> text;  // the XML; none for a gauge that is no XML gauge (a C gauge)
  int line = 0;         // of panel.cfg
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;  // the gauge line's place and size
};

// Which mouse area of a gauge a click means.
struct AreaChoice {
  enum class By { kOnly, kTooltip, kNumber, kPoint } by = By::kOnly;
  std::string tooltip;  // kTooltip: the area whose tooltip says this
  int number = 0;       // kNumber: 1-based, in file order, nested areas counted
  double x = 0.0;       // kPoint: the innermost area holding it, in the gauge's pixels
  double y = 0.0;
};

// Told when a <String> shows another text than before: where the string
// stands (gauge, file, line) and its text.
using StringListener = std::function<void(const ScriptSite& site, const std::string& text)>;

struct ClickOutcome {
  bool found = false;   // false: no such area, or none listens to the kind
  std::string problem;  // then why, with the gauge's areas listed
};

class GaugeInstance;

class GaugePanel {
 public:
  GaugePanel(std::vector<PanelWindowSection> windows, std::vector<PanelGaugeLine> gauges,
             SharedVariables& shared, SimulatedAircraft& aircraft);
  ~GaugePanel();

  // Called at each non-XML gauge's place in the frame, while its window is open.
  void setOtherGauge(std::function<void(const PanelGaugeLine&)> run);

  // One panel cycle: every gauge of every open window, then the clock advances
  // by `seconds`.
  void runFrame(double seconds);

  // The gauge named "FILE!NAME" or "Window03/FILE!NAME" (the first in file
  // order when several lines name it); nothing when none does.
  std::optional<int> findGauge(std::string_view name) const;
  const std::vector<PanelGaugeLine>& gauges() const;
  const GaugeModel& model(int gauge) const;

  // A mouse click of `kind` ("LeftSingle", "Leave") on an area: the area's
  // clicks that listen to the kind (a click without Kind listens to
  // LeftSingle) send their Event and run their script, right away, with
  // (M:Event) the kind as the click spells it and (M:X), (M:Y) the point, or
  // the area's centre when the area is not chosen by a point.
  ClickOutcome click(int gauge, const AreaChoice& area, const std::string& kind);

  // A key pressed (or an event named by an <On Event>): the <Keys> handlers
  // of every gauge of an open window that listen to it run, with (M:Key) the
  // name as the handler spells it. How many ran.
  int pressKey(const std::string& key);

  // Hears each string's text as it changes, from the next frame on.
  void setStringListener(StringListener listener);

  // The file lines of the gauge's elements that blink now (their
  // <BlinkCode> gave other than 0 in the last cycle).
  std::vector<int> blinkingElements(int gauge) const;

  // The running gauge, whose elements' last results it is drawn with; null
  // for a gauge that is no XML gauge.
  const GaugeInstance* instance(int gauge) const;

  // By section or ident, without regard to case; false when no window is so named.
  bool setWindowOpen(std::string_view window, bool open);
  const std::vector<PanelWindowSection>& windows() const;
  bool windowOpen(int window) const;

  // The gauge line's XML replaced by `text` and compiled in place of the old,
  // between frames, the way an author's save is taken: the panel's and the
  // aircraft's variables, the windows' states and the gauge's G: variables
  // stay. What the new compile finds joins findings(). False for a gauge
  // that is no XML gauge.
  bool replaceGauge(int gauge, std::string text);

  // panel.cfg read again: its windows and gauge lines in place of the old,
  // between frames. A window that stays (by section) keeps its open state, a
  // new one starts as its line says; a gauge line that stays (the same
  // section and name) keeps its G: variables, compiled anew from its text.
  // The panel's and the aircraft's variables stay.
  void replaceLayout(std::vector<PanelWindowSection> windows, std::vector<PanelGaugeLine> gauges);

  // What compiling and running the gauges found so far.
  const Findings& findings() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vorlanex::gauges
