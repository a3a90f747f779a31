// A way found, written as a `run --panel` script that plays the sound and
// expects it: the author's regression test for the sound.
#pragma once

#include <string>

#include "reach_search.h"

namespace vorlanex::tool {

// The script: each move's steps at the frame the search made them in, then,
// at the frame after the one the sound started in, `expect`s of its
// variable and of the volume played.
std::string wayScript(const ReachedSound& reached, const std::vector<Move>& moves,
                      const std::string& variable, const std::string& panelShown, double framesPerSecond);

// "reach_cabin_relay.txt": the variable with every character a file name
// may not hold made '_'.
std::string wayScriptName(const std::string& variable);

}  // namespace vorlanex::tool
