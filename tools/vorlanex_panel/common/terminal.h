// Whether standard output is a terminal: progress is shown only there.
#pragma once

namespace vorlanex::panel {

bool standardOutputIsTerminal();

}  // namespace vorlanex::panel
