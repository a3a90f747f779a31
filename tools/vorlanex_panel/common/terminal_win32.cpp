#include <io.h>

#include <cstdio>

#include "terminal.h"

namespace vorlanex::tool {

bool standardOutputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

}  // namespace vorlanex::tool
