// The files a command line names for the tool to use, tried before the
// command starts: one that cannot be used is the command line's fault, not
// the panel's or the script's.
#pragma once

#include <string>

namespace vorlanex::tool {

// Each throws std::runtime_error naming the file when it cannot be used; an
// empty path names nothing and passes.
void requireReadable(const std::string& path);
void requireLoadableModule(const std::string& path);
void requireLoadableGlobalDll(const std::string& path);
// A file the command writes at its end: a session's record would be lost if
// its folder turned out missing only then. Leaves the file there, empty
// unless it was not.
void requireWritable(const std::string& path);

}  // namespace vorlanex::tool
