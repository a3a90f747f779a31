#include <unistd.h>

#include "terminal.h"

namespace vorlanex::tool {

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

}  // namespace vorlanex::tool
