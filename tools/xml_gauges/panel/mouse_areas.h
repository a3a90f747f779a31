// A gauge's mouse areas: where a nested <Area> lies in its parent, and which
// area a click means.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gauge_model.h"
#include "gauge_panel.h"

namespace vorlanex::gauges {

// An <Area>'s edges as written, relative to its parent area.
struct AreaEdges {
  std::optional<double> left, top, width, height, right, bottom;
};

// The area in the gauge's pixels. Edges not given are the parent's: an area
// giving only Right="20" is its parent's part left of 20, one giving only
// Left="20" the part from 20 on.
Rect placeArea(const Rect& parent, const AreaEdges& edges);

// The areas a click can name by number: the root <Mouse> first when it has
// clicks of its own, then every <Area> in file order, nested ones counted.
struct NumberedArea {
  int number = 0;
  const MouseArea* area = nullptr;
  bool root = false;
};
std::vector<NumberedArea> numberAreas(const MouseArea& root);

struct ChosenArea {
  const MouseArea* area = nullptr;
  int number = 0;       // 0 for a root <Mouse> without clicks of its own
  std::string problem;  // when none is chosen: why
};

// Whether an area shows now: its <Visible> run.
using AreaShown = std::function<bool(const MouseArea&)>;

// The area the choice names. kPoint takes the innermost area holding the
// point that has clicks (an area with a tooltip only does not catch the
// mouse), the first in file order where areas overlap; a root of unknown
// size holds every point. A hidden area, and every area in it, takes no
// click: a point passes on to the next area holding it, and naming one
// (only, by number or tooltip) is refused.
ChosenArea chooseArea(const MouseArea& root, const AreaChoice& choice, const AreaShown& shown = {});

// "#2 "Chime" at 10,0 10x20: LeftSingle+Leave", one line per numbered area.
std::string describeAreas(const MouseArea& root);

}  // namespace vorlanex::gauges
