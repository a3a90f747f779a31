// The %!fmt! of a gauge string: printf's forms for one value ("d", "02d",
// "3.1f", "s", "x"), written the same on every build.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "script_program.h"

namespace vorlanex::gauges {

struct ValueFormat {
  char conversion = 's';  // d (i), f, e, g, x, X or s
  int width = 0;
  int precision = -1;     // none given
  bool zeroPadded = false;
  bool leftAligned = false;
  bool plusSign = false;
};

// "02d" gives {d, width 2, zero-padded}; nothing when it is no such form.
std::optional<ValueFormat> parseValueFormat(std::string_view text);

// `d` rounds the number to the nearest whole one (2.5 shows 3), `x` cuts it
// toward zero; `s` writes a text as it is and a
// number as its shortest form.
std::string formatValue(const Value& value, const ValueFormat& format);

}  // namespace vorlanex::gauges
