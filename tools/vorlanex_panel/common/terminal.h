// Whether standard output is a terminal: progress is shown only there.
#pragma once

namespace vorlanex::tool {

bool standardOutputIsTerminal();

}  // namespace vorlanex::tool
