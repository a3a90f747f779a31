// The moves a pilot and the simulator can make on a panel: each click its
// open windows' mouse areas listen to, each window opened or closed, each
// simulator variable the scripts read moved to the values that matter, each
// event the scripts send, and the time passing for their timers. L:
// variables are no moves: only gauges and the module write them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gauge_panel.h"
#include "script.h"
#include "script_facts.h"
#include "simulated_aircraft.h"

namespace vorlanex::tool {

struct Move {
  enum class Kind { kClick, kOpen, kClose, kSwitch, kValue, kEvent, kWait } kind;
  // The steps of each frame the move takes, one after the other: a press
  // held for a frame before its release, a wait's empty frames.
  std::vector<std::vector<Step>> frames;
  // A click: the window its gauge stands in (-1: one that is always open);
  // open, close: the window.
  int window = -1;
  std::string text;  // as a way's step shows it
};

// By window, whether the simulator's menu of windows lists it ([Window
// Titles] in `panelText`): the windows the pilot opens and closes. The
// others open only by the events the panel's gauges send.
std::vector<bool> windowsInMenu(std::string_view panelText,
                                const std::vector<gauges::PanelWindowSection>& windows);

// `pilotWindows`: by window, whether the pilot can open and close it (it is
// listed in [Window Titles], the simulator's menu of windows).
std::vector<Move> panelMoves(const gauges::GaugePanel& panel, gauges::SimulatedAircraft& aircraft,
                             const ScriptFacts& facts, const std::vector<bool>& pilotWindows,
                             double framesPerSecond);

// The values a variable compared with `constants` is moved to: each
// constant, that constant 1 % either side (1 for 0), and `rest`, each within
// [low, high], in increasing order.
std::vector<double> valuesThatMatter(const std::vector<double>& constants, double rest, double low,
                                     double high);

// Whether the move can be made now: its window open (a click), closed (an
// open), open (a close); a variable not at its value already.
bool movePossible(const Move& move, const gauges::GaugePanel& panel, gauges::SimulatedAircraft& aircraft);

}  // namespace vorlanex::tool
