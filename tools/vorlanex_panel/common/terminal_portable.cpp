#include <unistd.h>

#include "terminal.h"

namespace vorlanex::panel {

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

}  // namespace vorlanex::panel
