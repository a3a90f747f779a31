// The files a run of the panel reads, and which of them a save left
// unreadable: what `run --watch` and the console follow.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "module_table.h"
#include "panel_setup.h"
#include "problem.h"

namespace vorlanex::tool {

// The files a run read, as the file system takes them: the script, the
// panel.cfg, the gauges' XML files and cabinets, the INI and the WAV files.
// Those of them that could not be read (XML not even read leniently, an INI
// with errors, a WAV file refused or cut short), with their findings: a
// save that brings a new such finding is not taken.
struct RunFiles {
  std::vector<std::string> read;
  std::vector<std::string> unreadable;
  Problems findings;

  // `path` among those read, once.
  void follow(const std::string& path);
};

// Adds the panel's files (`panel` read from `panelConfig`, none without a
// panel) and the module's (its INI file, by `parameters`, and the WAV files
// of its `table`) to `files`, with those that cannot be read.
void collectPanelFiles(const std::string& panelConfig, const std::optional<PanelSetup>& panel,
                       const std::string& parameters, const ModuleTable& table, RunFiles& files);

}  // namespace vorlanex::tool
