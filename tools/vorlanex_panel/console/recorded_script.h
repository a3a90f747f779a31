// A console session written as a script that `run` replays with the same
// variable log: a regression test made by clicking.
#pragma once

#include <string>

#include "run_record.h"

namespace vorlanex::panel {

// Every step the session carried out, "at SECONDS STEP" at the time of its
// frame, then a last line that lets the run reach the session's last frame.
// `heading` becomes the script's first comment lines.
std::string recordedScript(const RunRecord& record, const std::string& heading);

// A step as the script language writes it: "set cabin_fan -200002".
std::string stepText(const Step& step);

}  // namespace vorlanex::panel
