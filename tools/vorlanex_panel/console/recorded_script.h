// A console session written as a script that `run` replays with the same
// variable log: a regression test made by clicking.
#pragma once

#include <string>

#include "run_record.h"

namespace vorlanex::tool {

// Every step the session carried out, "at SECONDS STEP" at the time of its
// frame, then a last line that lets the run reach the session's last frame.
// `heading` becomes the script's first comment lines.
std::string recordedScript(const RunRecord& record, const std::string& heading);

// The parts of that script, for a session that writes it as it goes: the
// heading as comment lines, one step's line, and the last line (empty before
// the first frame), that of a session of `frames` frames.
std::string scriptHeading(const std::string& heading);
std::string scriptLine(const StepEvent& event);
std::string lastFrameLine(int frames, double framesPerSecond);

}  // namespace vorlanex::tool
