// `check`: what the module makes of a panel's INI file, and every problem in
// it a panel author would want to know.
#pragma once

#include <optional>
#include <string>
#include <vector>

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
  // The GLOBAL.DLL stand-in the panel's gauges run at rest with, the
  // simulator's sound on as `run` starts it; empty: without the switch.
  std::string globalDllPath = "";
  // With a panel: also search for every sound's way (reach), and report
  // the sounds nothing the pilot does plays.
  bool reach = false;
};

// The panel around the module: its gauges and what they read and write.
struct PanelCheck {
  std::string file;  // the panel.cfg as shown
  PanelGauges gauges;
};

struct CheckResult {
  std::string iniFile;  // the file as named in the problems
  bool iniRead = false;  // false: the module takes every default
  // Why nothing is as the author meant, when the tool was most likely started
  // in the wrong folder: told first, one line each.
  std::vector<std::string> causes;
  ModuleTable module;
  SoundFiles soundFiles;  // what the module's reader makes of each sound's file
  std::optional<PanelCheck> panel;  // with a panel.cfg that could be read
  Problems problems;
};

CheckResult runCheck(const CheckRequest& request);

// The module's defaults for every sound, as people read them:
// "100 sounds, ./Sound/zeb/zeb_xml_NN.wav driven by zeb_xml_id_NN".
std::string defaultsText();

// Why the INI file the parameter string names cannot be read from the
// current folder, naming the folder and --root; "" when it can be read (or
// its path has a problem of its own, which check reports).
std::string unreadableIniCause(const std::string& parameters);

// Why the panel.cfg named `shown` (looked for at `lookedAt`) cannot be read:
// its path is taken from the folder the tool was started in.
std::string unreadablePanelCause(const std::string& shown, const std::string& lookedAt);

}  // namespace vorlanex::tool
