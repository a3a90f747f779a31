// The script that `run` plays against a panel: what the panel's XML gauges
// and the simulator do, line by line, at given times.
#pragma once

#include <string>
#include <vector>

namespace vorlanex::panel {

enum class Action {
  kSet,           // set VARIABLE VALUE
  kExpect,        // expect VARIABLE VALUE
  kWait,          // wait SECONDS
  kWaitUntil,     // wait until VARIABLE VALUE within SECONDS
  kSoundOn,       // sound on: the simulator's sound switch
  kSoundOff,      // sound off
  kLoadGlobal,    // load GLOBAL.DLL
  kUnloadGlobal,  // unload GLOBAL.DLL
};

struct Step {
  int line;       // in the script file, from 1
  double at;      // the time its "at" gives, in seconds; kRightAfter without one
  Action action;
  std::string variable;
  double value = 0.0;
  double seconds = 0.0;  // wait, wait until: the time or the limit

  static constexpr double kRightAfter = -1.0;
};

struct Script {
  std::string file;
  std::vector<Step> steps;
};

// The longest the script can take, waits and time limits included: a run
// ends no later than this.
double longestDuration(const Script& script);

}  // namespace vorlanex::panel
