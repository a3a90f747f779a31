#include <io.h>

#include <cstdio>

#include "terminal.h"

namespace vorlanex::panel {

bool standardOutputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

}  // namespace vorlanex::panel
