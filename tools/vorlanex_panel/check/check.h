// `check`: what the module makes of a panel's INI file, and every problem in
// it a panel author would want to know.
#pragma once

#include <optional>
#include <string>

#include "module_table.h"
#include "gauge_search.h"
#include "problem.h"
#include "wave_files.h"

namespace vorlanex::tool {

struct CheckRequest {
  // The gauge's parameter string: the INI path relative to the simulator's
  // root folder, which is the current directory. Empty for the default file;
  // none for the one of the panel's first line of the module.
  std::optional<std::string> parameters;
  std::string panelConfig;  // the aircraft's panel.cfg, or empty
  bool soundFiles = true;   // also open each sound's WAV file as the module would
  // The panel.cfg as named in the report (as the author gave it); empty for
  // panelConfig itself.
  std::string panelShown = "";
};

// The panel around the module: its gauges and what they read and write.
struct PanelCheck {
  std::string file;  // the panel.cfg as shown
  PanelGauges gauges;
};

struct CheckResult {
  std::string iniFile;  // the file as named in the problems
  ModuleTable module;
  SoundFiles soundFiles;  // what the module's reader makes of each sound's file
  std::optional<PanelCheck> panel;  // with a panel.cfg that could be read
  Problems problems;
};

CheckResult runCheck(const CheckRequest& request);

}  // namespace vorlanex::tool
