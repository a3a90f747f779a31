// The tool's exit status, one rule for every command:
//   0  it ran and all held: check found nothing, every expectation of run held
//   1  it ran and something is amiss: check found warnings only, an
//      expectation of run failed
//   2  it found errors: check in the panel; run in the script (a line that is
//      no step, a step that cannot be carried out); console could not set the
//      panel or its server up
//   3  the command line cannot be followed: an argument missing or unknown, a
//      value out of range, a folder or file it names that cannot be used (the
//      root, the script, the module, GLOBAL.DLL, the console's record)
#pragma once

namespace vorlanex::tool {

constexpr int kExitHeld = 0;
constexpr int kExitAmiss = 1;
constexpr int kExitErrors = 2;
constexpr int kExitCannotFollow = 3;

}  // namespace vorlanex::tool
