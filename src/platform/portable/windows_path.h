// Windows-style file names on a native file system.
#pragma once

#include <string>

namespace vorlanex::platform {

// Turns a path as panel authors write it on Windows into a native one: '\' and
// '/' both separate components, a relative path stays relative to the current
// directory, and each component is found whatever the case of its name (the
// exact name first, else the first directory entry equal without regard to
// ASCII case). When no such file exists, returns the path with '/' separators,
// so that opening it fails as usual. A null path gives "".
std::string resolveWindowsPath(const char* path);

}  // namespace vorlanex::platform
