// BMP files built in memory, as the simulator reads a gauge's bitmaps: the
// example panel's artwork, and the bitmaps of the tests and the benchmarks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vorlanex::bitmapbytes {

using Rgb = uint32_t;  // 0xRRGGBB

// A BMP of `width` x `height` pixels (bottom-up rows padded to four bytes):
// in 8 bits with a palette when asked and its colours fit in 256, else in
// 24 bits.
std::string bitmap(int width, int height, bool paletteWanted, const std::function<Rgb(int x, int y)>& colorAt);

}  // namespace vorlanex::bitmapbytes
