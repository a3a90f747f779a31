#include "mouse_areas.h"

#include <algorithm>
#include <sstream>

#include "text_case.h"

namespace vorlanex::gauges {
namespace {

struct Span {
  double start;
  double length;
};

Span placeSpan(double parentStart, double parentLength, std::optional<double> start,
               std::optional<double> length, std::optional<double> end) {
  double from = parentStart + start.value_or(0.0);
  double to = parentStart + parentLength;
  if (end) {
    to = parentStart + *end;
    if (!start && length) from = to - *length;
  } else if (length) {
    to = from + *length;
  }
  return {from, std::max(0.0, to - from)};
}

void numberNested(const MouseArea& area, std::vector<NumberedArea>& out) {
  for (const MouseArea& child : area.areas) {
    out.push_back({static_cast<int>(out.size()) + 1, &child, false});
    numberNested(child, out);
  }
}

bool holds(const MouseArea& area, bool root, double x, double y) {
  const bool unbounded = root && (area.rect.width <= 0.0 || area.rect.height <= 0.0);
  return unbounded || area.rect.contains(x, y);
}

bool hidden(const MouseArea& area, const AreaShown& shown) {
  return shown && area.visible.present() && !shown(area);
}

const MouseArea* innermostAt(const MouseArea& area, double x, double y, const AreaShown& shown) {
  for (const MouseArea& child : area.areas) {
    if (!child.rect.contains(x, y) || hidden(child, shown)) continue;
    if (const MouseArea* inner = innermostAt(child, x, y, shown)) return inner;
  }
  return area.clicks.empty() ? nullptr : &area;
}

// Whether `target` stands in a hidden area, or is one, below `area`.
bool inHiddenArea(const MouseArea& area, const MouseArea* target, const AreaShown& shown, bool& found) {
  if (&area == target) {
    found = true;
    return hidden(area, shown);
  }
  for (const MouseArea& child : area.areas) {
    const bool hiddenBelow = inHiddenArea(child, target, shown, found);
    if (found) return hiddenBelow || hidden(area, shown);
  }
  return false;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string kindsOf(const MouseArea& area) {
  std::vector<std::string> seen;
  std::string kinds;
  for (const Click& click : area.clicks) {
    for (const std::string& kind : click.kinds) {
      if (std::find(seen.begin(), seen.end(), kind) != seen.end()) continue;
      seen.push_back(kind);
      kinds += (kinds.empty() ? "" : "+") + kind;
    }
  }
  return kinds.empty() ? "no click" : kinds;
}

ChosenArea numbered(const std::vector<NumberedArea>& areas, const MouseArea* area) {
  for (const NumberedArea& entry : areas) {
    if (entry.area == area) return {area, entry.number, {}};
  }
  return {area, 0, {}};
}

ChosenArea problem(const MouseArea& root, std::string why) {
  return {nullptr, 0, why + "; its areas:\n" + describeAreas(root)};
}

}  // namespace

Rect placeArea(const Rect& parent, const AreaEdges& edges) {
  const Span x = placeSpan(parent.left, parent.width, edges.left, edges.width, edges.right);
  const Span y = placeSpan(parent.top, parent.height, edges.top, edges.height, edges.bottom);
  return {x.start, y.start, x.length, y.length};
}

std::vector<NumberedArea> numberAreas(const MouseArea& root) {
  std::vector<NumberedArea> areas;
  if (!root.clicks.empty()) areas.push_back({1, &root, true});
  numberNested(root, areas);
  return areas;
}

namespace {

ChosenArea chooseNamedArea(const MouseArea& root, const AreaChoice& choice, const AreaShown& shown);

}  // namespace

ChosenArea chooseArea(const MouseArea& root, const AreaChoice& choice, const AreaShown& shown) {
  ChosenArea chosen = chooseNamedArea(root, choice, shown);
  bool found = false;
  if (chosen.area == nullptr || choice.by == AreaChoice::By::kPoint ||
      !inHiddenArea(root, chosen.area, shown, found)) {
    return chosen;
  }
  return problem(root, "area #" + std::to_string(chosen.number) + " (line " + std::to_string(chosen.area->line) +
                           ") is hidden: its <Visible>, or its outer area's, gives 0, so it takes no click");
}

namespace {

ChosenArea chooseNamedArea(const MouseArea& root, const AreaChoice& choice, const AreaShown& shown) {
  const std::vector<NumberedArea> areas = numberAreas(root);
  switch (choice.by) {
    case AreaChoice::By::kOnly: {
      std::vector<NumberedArea> clickable;
      std::copy_if(areas.begin(), areas.end(), std::back_inserter(clickable),
                   [](const NumberedArea& entry) { return !entry.area->clicks.empty(); });
      if (clickable.size() == 1) return {clickable[0].area, clickable[0].number, {}};
      return problem(root, clickable.empty()
                               ? "the gauge has no mouse area with a click"
                               : "the gauge has " + std::to_string(clickable.size()) +
                                     " areas with clicks: name one by its tooltip, number or point");
    }
    case AreaChoice::By::kTooltip: {
      // The root's tooltip is the gauge's own; an area with clicks comes first.
      const MouseArea* found = nullptr;
      const auto consider = [&](const MouseArea& area) {
        if (!equalNoCase(trimmed(area.tooltip), trimmed(choice.tooltip))) return;
        if (found == nullptr || (found->clicks.empty() && !area.clicks.empty())) found = &area;
      };
      consider(root);
      for (const NumberedArea& entry : areas) consider(*entry.area);
      if (found != nullptr) return numbered(areas, found);
      return problem(root, "no mouse area has the tooltip \"" + choice.tooltip + "\"");
    }
    case AreaChoice::By::kNumber:
      if (choice.number >= 1 && choice.number <= static_cast<int>(areas.size())) {
        return {areas[static_cast<std::size_t>(choice.number) - 1].area, choice.number, {}};
      }
      return problem(root, "the gauge has no mouse area #" + std::to_string(choice.number));
    case AreaChoice::By::kPoint: {
      const MouseArea* area =
          holds(root, true, choice.x, choice.y) ? innermostAt(root, choice.x, choice.y, shown) : nullptr;
      if (area != nullptr) return numbered(areas, area);
      std::ostringstream why;
      why << "no mouse area with a click holds the point " << choice.x << ',' << choice.y;
      return problem(root, why.str());
    }
  }
  return problem(root, "no such area");
}

}  // namespace

std::string describeAreas(const MouseArea& root) {
  const std::vector<NumberedArea> areas = numberAreas(root);
  if (areas.empty()) return "  (none)\n";
  std::ostringstream out;
  for (const NumberedArea& entry : areas) {
    const MouseArea& area = *entry.area;
    out << "  #" << entry.number;
    if (!area.tooltip.empty()) out << " \"" << area.tooltip << '"';
    if (entry.root) {
      out << " the whole gauge";
    } else {
      out << " at " << area.rect.left << ',' << area.rect.top << ' ' << area.rect.width << 'x'
          << area.rect.height;
    }
    out << " (line " << area.line << "): " << kindsOf(area) << '\n';
  }
  return out.str();
}

}  // namespace vorlanex::gauges
