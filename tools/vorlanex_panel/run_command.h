// `run`: plays a script against the panel and reports what the module wrote.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "device_clock.h"
#include "panel_files.h"

namespace vorlanex::tool {

struct RunRequest {
  // The gauge's parameter string (the INI path); none with --panel: the one
  // of the panel's line of the module, as check --panel takes it.
  std::optional<std::string> parameters;
  std::string scriptFile;
  double framesPerSecond;
  std::string timelineFile;   // empty: no timeline
  std::string modulePath;     // empty: the module linked into the tool
  std::string globalDllPath;  // the GLOBAL.DLL stand-in
  AudioRequest audio;
  bool allWrites = false;     // log writes that leave the value as it was too
  // --panel: the panel.cfg whose XML gauges run beside the module, as the
  // file system takes it and as the author named it; empty: none.
  std::string panelConfig = "";
  std::string panelShown = "";
  bool json = false;  // print the record as JSON instead of the log
  // The script as the author named it, which its messages name; empty for
  // scriptFile itself.
  std::string scriptShown = "";
  // --watch: run again on every save of a file the run read (run_watch.h).
  bool watch = false;
};

// Prints the log of the module's writes and the failed expectations to
// `out`, script errors to `errors`. Returns the exit status (exit_status.h):
// every expectation held, one failed, or a script that cannot be read or run
// (the front has tried the files the command line names already).
// With `files`, tells which files the run read.
int runCommand(const RunRequest& request, std::FILE* out, std::FILE* errors,
               RunFiles* files = nullptr);

}  // namespace vorlanex::tool
