// Opens the console's address in the default browser, when there is one.
#pragma once

#include <string>

namespace vorlanex::tool {

// False when no browser could be started; the address is printed anyway.
bool openInBrowser(const std::string& address);

}  // namespace vorlanex::tool
