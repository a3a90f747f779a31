// Where the tool's own program file lies: the files shipped with it (the
// GLOBAL.DLL stand-in) lie beside it, wherever the tool was started from.
#pragma once

#include <string>

namespace vorlanex::tool {

// The folder of the running program; `argv0` is the fallback when the
// system cannot say.
std::string programFolder(const char* argv0);

}  // namespace vorlanex::tool
