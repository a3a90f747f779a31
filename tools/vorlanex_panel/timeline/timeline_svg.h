// Draws a run's timeline as one self-contained SVG file.
#pragma once

#include <string>

#include "timeline.h"

namespace vorlanex::tool {

// A lane for the simulator's sound switch, then one per sound (its state:
// idle, playing once, looping, file missing; pan and volume where known; the
// values its variable took), stop-all events across every lane and the
// script's expectations along the top. `title` heads the drawing.
std::string timelineSvg(const Timeline& timeline, const std::string& title);

}  // namespace vorlanex::tool
