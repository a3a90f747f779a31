// The script that `run` plays against a panel: what the pilot, the panel's XML
// gauges and the simulator do, line by line, at given times.
#pragma once

#include <string>
#include <vector>

#include "gauge_panel.h"
#include "variable_name.h"

namespace vorlanex::tool {

enum class Action {
  kSet,           // set VARIABLE VALUE
  kExpect,        // expect VARIABLE VALUE
  kWait,          // wait SECONDS
  kWaitUntil,     // wait until VARIABLE VALUE within SECONDS
  kSoundOn,       // sound on: the simulator's sound switch
  kSoundOff,      // sound off
  kLoadGlobal,    // load GLOBAL.DLL
  kUnloadGlobal,  // unload GLOBAL.DLL
  kRamp,          // ramp VARIABLE to VALUE over SECONDS
  kClick,         // click GAUGE [ "TOOLTIP" | #N | at X,Y ] [as KIND]
  kEvent,         // event NAME [VALUE]
  kOpenWindow,    // open WINDOW
  kCloseWindow,   // close WINDOW
};

// The script's words, read by the parser and written by stepText: one table.
namespace keyword {
constexpr const char* kAt = "at";  // also a click's point: "at 12,30"
constexpr const char* kSet = "set";
constexpr const char* kExpect = "expect";
constexpr const char* kWait = "wait";
constexpr const char* kUntil = "until";
constexpr const char* kWithin = "within";
constexpr const char* kRamp = "ramp";
constexpr const char* kTo = "to";
constexpr const char* kOver = "over";
constexpr const char* kClick = "click";
constexpr const char* kAs = "as";
constexpr const char* kEvent = "event";
constexpr const char* kOpen = "open";
constexpr const char* kClose = "close";
constexpr const char* kSound = "sound";
constexpr const char* kOn = "on";
constexpr const char* kOff = "off";
constexpr const char* kLoad = "load";
constexpr const char* kUnload = "unload";
// What load and unload name.
constexpr const char* kGlobalDll = "GLOBAL.DLL";
// A click's area by its number: "#2".
constexpr char kAreaNumber = '#';
// A click's area by its tooltip: "\"Chime\"".
constexpr char kQuote = '"';
}  // namespace keyword

// A variable a step names. A bare name ("cabin_fan") is the panel's L:
// variable, shared by the gauges and the module; the form of gauge scripts
// ("(A:GENERAL ENG RPM:1, rpm)", "(L:cabin_fan, number)") names any kind the
// simulator holds.
struct StepVariable {
  gauges::VariableName name;  // kind 'L' for a bare name
  bool bare = true;           // written as a bare name, and written back so

  bool panelVariable() const { return name.kind == 'L'; }
};

struct Step {
  int line;       // in the script file, from 1
  double at;      // the time its "at" gives, in seconds; kRightAfter without one
  Action action;
  StepVariable variable = {};  // set, expect, wait until, ramp
  double value = 0.0;     // and an event's value
  double seconds = 0.0;   // wait, wait until: the time or the limit; ramp: its length
  // click: the gauge, "FILE!NAME" or "Window01/FILE!NAME"; event: its name;
  // open, close: the window, by its section or its ident.
  std::string target = "";
  gauges::AreaChoice area = {};  // click: which of the gauge's mouse areas
  std::string mouseKind = "";  // click: "Leave"...; empty for a plain left click

  static constexpr double kRightAfter = -1.0;
};

// A step naming a bare L: variable, as the console and tests make them.
Step variableStep(Action action, const std::string& variable, double value);

struct Script {
  std::string file;
  std::vector<Step> steps;
};

// How stepText writes numbers: as short as reads right for people, or with
// every digit, so that a script written back replays exactly.
enum class Digits { kShort, kExact };

// A step as the script language writes it, without its "at":
// "set cabin_fan -200002", "wait until cabin_chime 0 within 3",
// "click Cabin!chime_button \"Chime\" as Leave".
std::string stepText(const Step& step, Digits digits);

// A frame's time as an "at" writes it, to the microsecond and never above
// it: `run` carries out a step in the first frame whose time reaches its
// "at" (within a nanosecond), so a time rounded up would move it a frame
// later. Frames are at least a millisecond apart.
std::string frameTimeText(double seconds);

// The mouse kind a click without "as" sends.
constexpr const char* kPlainClick = "LeftSingle";

// Whether the step needs the panel's gauges and the simulated aircraft
// (run --panel): clicks, events, windows, and variables other than L:.
bool needsPanel(const Step& step);

// The longest the script can take, waits, ramps and time limits included: a
// run ends no later than this.
double longestDuration(const Script& script);

}  // namespace vorlanex::tool
