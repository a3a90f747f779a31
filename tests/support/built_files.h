// Where the build put the module and the GLOBAL.DLL stand-in, as absolute
// paths taken before any test changes the current directory.
#pragma once

#include <string>

namespace vorlanex::test {

const std::string& modulePath();
const std::string& globalDllPath();

}  // namespace vorlanex::test
