// How the panel is drawn where no source settles it: each choice in one
// place, so a finding from the simulator changes one line.
#pragma once

#include <cstdint>

namespace vorlanex::gauges::drawing_choices {

// A Select shows the Case whose Value equals its value within this.
constexpr double kCaseTolerance = 1e-6;

// A nested element's Position counts from its parent's.
constexpr bool kChildPositionRelative = true;

// A Text without FontSize takes its box's height.
// A Text's colour when it names none or one not known: white.
constexpr uint32_t kDefaultTextColor = 0xFFFFFF;

// Night: plain images and texts are multiplied by this; Bright ones stay as
// drawn; Luminous ones are lit by the panel lights, taken as on, in white.
constexpr double kNightFactor = 0.3;

// Pure black (0,0,0), after the palette, is not drawn; a black text
// background is not drawn either.
constexpr uint8_t kTransparentLevel = 0;

}  // namespace vorlanex::gauges::drawing_choices
