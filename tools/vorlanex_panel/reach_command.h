// `reach`: for every sound of the panel, the shortest way through its own
// gauges to play it, or why there is none; each way written as a script on
// request.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "reach_search.h"

namespace vorlanex::tool {

struct ReachRequest {
  // The panel.cfg as the file system takes it and as the author named it.
  std::string panelConfig;
  std::string panelShown;
  // The INI path; none: the one of the panel's line of the module.
  std::optional<std::string> parameters;
  SearchLimits limits;
  std::string outFolder;      // write each way as reach_VARIABLE.txt here; empty: none
  bool json = false;
  std::string globalDllPath;  // the GLOBAL.DLL stand-in `run` loads; empty: none
};

// Prints one line per sound, the notes and the summary (or JSON) to `out`,
// the progress to `out` while it is a terminal, errors to `errors`. Exit
// status: 0 every sound reached, 1 some not, 2 when the panel cannot be read.
int reachCommand(const ReachRequest& request, std::FILE* out, std::FILE* errors);

}  // namespace vorlanex::tool
