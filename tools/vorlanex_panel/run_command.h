// `run`: plays a script against the panel and reports what the module wrote.
#pragma once

#include <cstdio>
#include <string>

#include "device_clock.h"

namespace vorlanex::tool {

struct RunRequest {
  std::string parameters;  // the gauge's parameter string (the INI path)
  std::string scriptFile;
  double framesPerSecond;
  std::string timelineFile;   // empty: no timeline
  std::string modulePath;     // empty: the module linked into the tool
  std::string globalDllPath;  // the GLOBAL.DLL stand-in
  AudioRequest audio;
  bool allWrites = false;     // log writes that leave the value as it was too
};

// Prints the log of the module's writes and the failed expectations to
// `out`, script errors to `errors`. Returns the exit status (exit_status.h):
// every expectation held, one failed, or a script that cannot be read or run
// (the front has tried the files the command line names already).
int runCommand(const RunRequest& request, std::FILE* out, std::FILE* errors);

}  // namespace vorlanex::tool
