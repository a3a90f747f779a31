// Windows-style file names on a native file system.
#pragma once

#include <string>

namespace vorlanex::platform {

// Turns a path as panel authors write it on Windows into a native one, with
// the rules Windows reads paths by: '\' and '/' both separate components (a
// run of them as one), "." is dropped and ".." takes the component before it
// away, the last component loses its trailing blanks and dots and any other a
// single trailing dot, a relative path stays relative to the current
// directory, and each component is found whatever the case of its name (the
// exact name first, else the first directory entry equal without regard to
// ASCII case). From the first component that does not exist on, the rest is
// kept as written, so that opening it fails as usual. A null or empty path
// gives "".
std::string resolveWindowsPath(const char* path);

}  // namespace vorlanex::platform
