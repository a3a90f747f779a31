#include "commands/command_scan.h"

namespace vorlanex {

// Commands are not acted on yet; the scan comes with the sound buffers.
void scanCommands() {}

}  // namespace vorlanex
