// `check`: what the module makes of a panel's INI file, and every problem in
// it a panel author would want to know.
#pragma once

#include <string>

#include "module_table.h"
#include "problem.h"
#include "sound_files.h"

namespace vorlanex::panel {

struct CheckRequest {
  // The gauge's parameter string: the INI path relative to the simulator's
  // root folder, which is the current directory. Empty for the default file.
  std::string parameters;
  std::string panelConfig;  // the aircraft's panel.cfg, or empty
  bool soundFiles = true;   // also open each sound's WAV file as the module would
};

struct CheckResult {
  std::string iniFile;  // the file as named in the problems
  ModuleTable module;
  SoundFiles soundFiles;  // what the module's reader makes of each sound's file
  Problems problems;
};

CheckResult runCheck(const CheckRequest& request);

}  // namespace vorlanex::panel
