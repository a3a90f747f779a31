// What the module makes of the INI path a gauge line gives it: a path too
// long for its buffer reads no file, and a path without a folder is looked
// for by Windows in the Windows directory.
#pragma once

#include <optional>
#include <string>

#include "problem.h"

namespace vorlanex::tool {

struct PathProblem {
  Severity severity;
  std::string message;
};

// The problem of `path` as the parameter string of the module's gauge line,
// or nothing for a path the module reads as written (or the default's "").
std::optional<PathProblem> iniPathProblem(const std::string& path);

}  // namespace vorlanex::tool
