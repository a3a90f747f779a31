// The script that `run` plays against a panel: what the panel's XML gauges
// and the simulator do, line by line, at given times.
#pragma once

#include <string>
#include <vector>

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
};

// The script's words, read by the parser and written by stepText: one table.
namespace keyword {
constexpr const char* kAt = "at";
constexpr const char* kSet = "set";
constexpr const char* kExpect = "expect";
constexpr const char* kWait = "wait";
constexpr const char* kUntil = "until";
constexpr const char* kWithin = "within";
constexpr const char* kSound = "sound";
constexpr const char* kOn = "on";
constexpr const char* kOff = "off";
constexpr const char* kLoad = "load";
constexpr const char* kUnload = "unload";
// What load and unload name.
constexpr const char* kGlobalDll = "GLOBAL.DLL";
}  // namespace keyword

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

// How stepText writes numbers: as short as reads right for people, or with
// every digit, so that a script written back replays exactly.
enum class Digits { kShort, kExact };

// A step as the script language writes it, without its "at":
// "set cabin_fan -200002", "wait until cabin_chime 0 within 3".
std::string stepText(const Step& step, Digits digits);

// The longest the script can take, waits and time limits included: a run
// ends no later than this.
double longestDuration(const Script& script);

}  // namespace vorlanex::tool
