// `console`: runs the panel in real time and serves a page on the loopback
// address from which its sounds are auditioned, tuned and recorded.
#pragma once

#include <cstdio>
#include <string>

#include "device_clock.h"

namespace vorlanex::tool {

struct ConsoleRequest {
  std::string parameters;     // the gauge's parameter string (the INI path)
  std::string root;           // the simulator's root folder, whole
  double framesPerSecond = 18.0;
  unsigned short port = 0;    // 0: a free port
  std::string modulePath;     // empty: the module linked into the tool
  std::string globalDllPath;  // the GLOBAL.DLL stand-in
  bool globalDllNamed = false;  // the stand-in named on the command line, not the default
  bool globalDll = true;      // start with GLOBAL.DLL loaded
  bool openBrowser = true;
  std::string recordFile;     // write the session's script here at the end; may be empty
  std::string logFile = "";   // write the whole log here as the frames run; may be empty
  double keepMinutes = 10.0;  // the stretch of writes kept for the page and the timeline
  // --panel: the panel.cfg whose XML gauges run beside the module, as the
  // file system takes it and as the author named it; empty: none.
  std::string panelConfig = "";
  std::string panelShown = "";
  AudioRequest audio;
};

// Prints the page's address, then the log of the module's writes and of the
// page's steps, until the page's Quit or Ctrl-C. Returns the exit status
// (exit_status.h): 0, or 2 when the panel or the server cannot be set up (the
// reason printed to `errors`).
int runConsole(const ConsoleRequest& request, std::FILE* out, std::FILE* errors);

// The command that replays the session's recorded script, THIS_FILE standing
// for the script: `run` with every option the session's frames depend on.
std::string replayCommand(const ConsoleRequest& request);

}  // namespace vorlanex::tool
