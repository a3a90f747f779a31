// The fonts texts are drawn with, built into the program (DejaVu Sans, and
// DejaVu Sans Mono for fixed pitch): the same on every machine and build.
#pragma once

#include <string_view>

namespace vorlanex::gauges {

// A TrueType font's bytes, for stb_truetype.
const unsigned char* drawingFont(bool fixed);
// The whole TrueType file, for the console's page to draw with the same font.
std::string_view drawingFontFile(bool fixed);

}  // namespace vorlanex::gauges
