// What the console shows of a panel beside the module's doings: each sound's
// variable and WAV file with what `check` says of it.
#pragma once

#include <string>
#include <vector>

#include "check.h"

namespace vorlanex::tool {

struct SoundFacts {
  std::string variable;
  std::string file;
  int volumePercent = 100;            // the INI file's volume, as the module reports it
  std::string reading;                // what the module's WAV reader makes of the file
  std::vector<std::string> problems;  // check's problems at the sound's keys
  bool missing = false;               // the file cannot be opened
  bool playable = false;              // read, and the device takes its format
};

struct PanelFacts {
  std::string iniPath;
  std::string stopAllVariable;
  std::vector<SoundFacts> sounds;
  std::vector<std::string> problems;  // every problem, for the page's header
};

PanelFacts panelFacts(const CheckResult& check);

}  // namespace vorlanex::tool
