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

// A Delay: a needle or shifted image moves toward where its value puts it
// by at most DegreesPerSecond (or PixelsPerSecond, in a straight line) times
// the frame's seconds, every frame it is drawn; in the first frame it stands
// there already. A needle turns the shorter way round (a compass card
// crossing North does not spin back), and half a turn the way its value went.
// One hidden a while, or in a closed window, moves by the time passed when
// it is drawn again, as if it had moved on meanwhile.
constexpr bool kDelayTurnsTheShorterWay = true;

}  // namespace vorlanex::gauges::drawing_choices
