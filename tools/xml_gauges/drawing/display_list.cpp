#include "display_list.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "drawing_choices.h"
#include "gauge_instance.h"
#include "text_case.h"

namespace vorlanex::gauges {

Affine Affine::then(const Affine& o) const {
  return {o.a * a + o.b * c, o.a * b + o.b * d, o.c * a + o.d * c,
          o.c * b + o.d * d, o.a * tx + o.b * ty + o.tx, o.c * tx + o.d * ty + o.ty};
}

std::optional<uint32_t> parseColor(const std::string& text) {
  static const std::pair<const char*, uint32_t> kNames[] = {
      {"black", 0x000000}, {"white", 0xFFFFFF}, {"red", 0xFF0000},    {"green", 0x00FF00},
      {"blue", 0x0000FF},  {"yellow", 0xFFFF00}, {"cyan", 0x00FFFF},  {"magenta", 0xFF00FF},
      {"gray", 0x808080},  {"grey", 0x808080},   {"orange", 0xFFA500}};
  std::string digits;
  if (!text.empty() && text[0] == '#') digits = text.substr(1);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) digits = text.substr(2);
  if (!digits.empty()) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
    if (*end != '\0' || digits.size() > 6) return std::nullopt;
    return static_cast<uint32_t>(value);
  }
  for (const auto& [name, color] : kNames) {
    if (equalNoCase(text, name)) return color;
  }
  return std::nullopt;
}

namespace {

constexpr double kPi = 3.14159265358979323846;

// The way a needle is drawn in its bitmap, clockwise from East on screen.
double pointsToAngle(const std::string& pointsTo) {
  if (equalNoCase(pointsTo, "South")) return kPi / 2;
  if (equalNoCase(pointsTo, "West")) return kPi;
  if (equalNoCase(pointsTo, "North")) return -kPi / 2;
  return 0.0;
}

// The item before and after `value` in a table in Value order (as written),
// and how far between them; the end item outside the table.
template <typename At>
auto interpolate(const std::vector<NonlinearityItem>& items, double value, At at) {
  if (items.size() == 1 || value <= items.front().value) return at(items.front(), items.front(), 0.0);
  for (size_t i = 1; i < items.size(); ++i) {
    if (value <= items[i].value) {
      const double span = items[i].value - items[i - 1].value;
      return at(items[i - 1], items[i], span > 0.0 ? (value - items[i - 1].value) / span : 1.0);
    }
  }
  return at(items.back(), items.back(), 0.0);
}

// A Rotate's direction, clockwise from East: the Value in radians, or the
// table's angle, between two items along the shorter arc.
double rotationOf(const ElementMotion& rotate, double value, double pivotX, double pivotY) {
  value = rotate.range.clamp(value);
  if (rotate.items.empty()) return value;
  const auto angleOf = [&](const NonlinearityItem& item) {
    return item.degrees ? *item.degrees * kPi / 180.0 : std::atan2(item.y - pivotY, item.x - pivotX);
  };
  std::vector<NonlinearityItem> sorted = rotate.items;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const NonlinearityItem& l, const NonlinearityItem& r) { return l.value < r.value; });
  return interpolate(sorted, value, [&](const NonlinearityItem& from, const NonlinearityItem& to, double t) {
    const double start = angleOf(from);
    double turn = angleOf(to) - start;
    turn = std::remainder(turn, 2 * kPi);
    return start + turn * t;
  });
}

// A Shift's offset in gauge pixels: Value times Scale, or the table's point.
std::pair<double, double> shiftOf(const ElementMotion& shift, double value) {
  value = shift.range.clamp(value);
  if (shift.items.empty()) return {value * shift.scaleX, value * shift.scaleY};
  std::vector<NonlinearityItem> sorted = shift.items;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const NonlinearityItem& l, const NonlinearityItem& r) { return l.value < r.value; });
  return interpolate(sorted, value, [](const NonlinearityItem& from, const NonlinearityItem& to, double t) {
    return std::make_pair(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t);
  });
}

Lighting lightingOf(const ElementImage& image) {
  if (image.bright) return Lighting::kBright;
  return image.luminous ? Lighting::kLuminous : Lighting::kPlain;
}

int adjustOf(const std::string& adjust, const char* start, const char* end) {
  if (equalNoCase(adjust, start)) return -1;
  if (equalNoCase(adjust, end)) return 1;
  return 0;
}

class WindowDrawer {
 public:
  WindowDrawer(const GaugeInstance& instance, int gauge, const Affine& toWindow, GaugeImages& images,
               DelayedMotion& motion, double now, DisplayList& list)
      : instance_(instance), gauge_(gauge), toWindow_(toWindow), images_(images), motion_(motion), now_(now),
        list_(list) {}

  void draw(const std::vector<GaugeElement>& elements) {
    for (const GaugeElement& element : elements) drawElement(element, true, 0.0, 0.0, -2);
  }

 private:
  // Walks every element, drawn or not, so each meets its depth-first index.
  void drawElement(const GaugeElement& element, bool drawn, double parentX, double parentY, int parentCase) {
    const int index = order_++;
    const ElementDrawing& drawing = element.drawing;
    drawn = drawn && instance_.elementShown(index) && (drawing.inCase < 0 || drawing.inCase == parentCase);
    const double x = element.x + (drawing_choices::kChildPositionRelative ? parentX : 0.0);
    const double y = element.y + (drawing_choices::kChildPositionRelative ? parentY : 0.0);
    int shownCase = -1;
    if (drawn) shownCase = drawOwn(element, index, x, y);
    for (const GaugeElement& child : element.children) drawElement(child, drawn, x, y, shownCase);
  }

  double value(int index, int valueIndex) const {
    return valueIndex < 0 ? 0.0 : instance_.elementValue(index, valueIndex);
  }

  // Draws the element's image and text; gives the Case it shows, -1 for none.
  int drawOwn(const GaugeElement& element, int index, double x, double y) {
    const ElementDrawing& drawing = element.drawing;
    const ElementImage* image = &drawing.image;
    int shownCase = -1;
    if (!drawing.cases.empty()) {
      image = nullptr;
      const double chosen = value(index, drawing.selectValue);
      for (size_t i = 0; i < drawing.cases.size(); ++i) {
        if (std::abs(drawing.cases[i].value - chosen) <= drawing_choices::kCaseTolerance) {
          image = &drawing.cases[i].image;
          shownCase = static_cast<int>(i);
          break;
        }
      }
    }
    if (image != nullptr && !image->name.empty()) drawImage(element, *image, index, x, y);
    if (drawing.text.present) drawText(element, index, x, y);
    return shownCase;
  }

  void drawImage(const GaugeElement& element, const ElementImage& image, int index, double x, double y) {
    const ElementDrawing& drawing = element.drawing;
    DisplayItem item;
    item.line = element.line;
    item.image = images_.index(gauge_, image.name);
    if (item.image < 0) return;
    item.lighting = lightingOf(image);
    double pivotX = x;
    double pivotY = y;
    if (drawing.mask) {
      item.mask = images_.index(gauge_, drawing.mask->name);
      item.maskPlace = Affine{1, 0, 0, 1, x, y}.then(toWindow_);
      pivotX += drawing.mask->axisX;
      pivotY += drawing.mask->axisY;
    }
    double turn = 0.0;
    if (drawing.rotate.present) {
      turn = rotationOf(drawing.rotate, value(index, drawing.rotate.value), pivotX, pivotY);
      if (drawing.rotate.delayPerSecond > 0.0) {
        turn = motion_.turn(gauge_, index, turn, drawing.rotate.delayPerSecond, now_);
      }
      turn -= pointsToAngle(image.pointsTo);
    }
    double shiftX = 0.0;
    double shiftY = 0.0;
    if (drawing.shift.present) {
      auto offset = shiftOf(drawing.shift, value(index, drawing.shift.value));
      if (drawing.shift.delayPerSecond > 0.0) {
        offset = motion_.shift(gauge_, index, offset, drawing.shift.delayPerSecond, now_);
      }
      std::tie(shiftX, shiftY) = offset;
    }
    const double cosine = std::cos(turn);
    const double sine = std::sin(turn);
    // The image's Axis at the pivot, turned about it, then shifted.
    const Affine inGauge{cosine, -sine, sine, cosine,
                         pivotX + shiftX - (cosine * image.axisX - sine * image.axisY),
                         pivotY + shiftY - (sine * image.axisX + cosine * image.axisY)};
    item.place = inGauge.then(toWindow_);
    list_.items.push_back(item);
  }

  void drawText(const GaugeElement& element, int index, double x, double y) {
    const ElementText& text = element.drawing.text;
    DisplayItem item;
    item.kind = DisplayItem::Kind::kText;
    item.line = element.line;
    item.place = Affine{1, 0, 0, 1, x, y}.then(toWindow_);
    item.lighting = text.bright ? Lighting::kBright : Lighting::kPlain;
    DrawnText& drawn = item.text;
    drawn.text = instance_.elementText(index, text.string);
    drawn.width = text.width;
    drawn.height = text.height;
    drawn.size = text.fontSize > 0.0 ? text.fontSize : text.height;
    drawn.fixed = text.fixed;
    drawn.color = parseColor(text.color).value_or(drawing_choices::kDefaultTextColor);
    if (const auto background = parseColor(text.background); background && *background != 0) {
      drawn.hasBackground = true;
      drawn.background = *background;
    }
    drawn.adjust = adjustOf(text.adjust, "Left", "Right");
    drawn.verticalAdjust = adjustOf(text.verticalAdjust, "Top", "Bottom");
    list_.items.push_back(std::move(item));
  }

  const GaugeInstance& instance_;
  int gauge_;
  Affine toWindow_;
  GaugeImages& images_;
  DelayedMotion& motion_;
  double now_;
  DisplayList& list_;
  int order_ = 0;
};

}  // namespace

DisplayList displayWindow(const GaugePanel& panel, int window, GaugeImages& images, DelayedMotion& motion,
                          double now) {
  const PanelWindowSection& section = panel.windows().at(static_cast<size_t>(window));
  DisplayList list;
  list.width = section.width;
  list.height = section.height;
  std::vector<std::pair<int, Affine>> placed;
  for (size_t g = 0; g < panel.gauges().size(); ++g) {
    const PanelGaugeLine& line = panel.gauges()[g];
    const GaugeInstance* instance = panel.instance(static_cast<int>(g));
    if (instance == nullptr || !equalNoCase(line.section, section.section)) continue;
    const GaugeModel& model = instance->model();
    // The gauge's pixels are its background's; its size in the window the
    // line's, or those pixels taken as units when the line gives none.
    double gaugeWidth = model.width;
    double gaugeHeight = model.height;
    const int background = images.index(static_cast<int>(g), model.image);
    if (background >= 0) {
      gaugeWidth = images.image(background).width;
      gaugeHeight = images.image(background).height;
    }
    if (gaugeWidth <= 0.0 || gaugeHeight <= 0.0) continue;
    double width = line.width > 0.0 ? line.width : gaugeWidth;
    double height = line.height > 0.0 ? line.height : (line.width > 0.0 ? gaugeHeight * width / gaugeWidth : gaugeHeight);
    const Affine toWindow{width / gaugeWidth, 0, 0, height / gaugeHeight, line.x, line.y};
    list.width = std::max(list.width, section.width > 0.0 ? 0.0 : line.x + width);
    list.height = std::max(list.height, section.height > 0.0 ? 0.0 : line.y + height);
    placed.emplace_back(static_cast<int>(g), toWindow);
  }
  const int windowBackground = images.index(-1, section.background);
  if (windowBackground >= 0 && section.width > 0.0 && section.height <= 0.0) {
    // size_mm=W alone: the height keeps the background's proportions.
    const Raster& raster = images.image(windowBackground);
    list.height = std::max(list.height, section.width * raster.height / raster.width);
  }
  if (const int background = windowBackground; background >= 0 && list.width > 0) {
    const Raster& raster = images.image(background);
    DisplayItem item;
    item.image = background;
    item.place = {list.width / raster.width, 0, 0, list.height / raster.height, 0, 0};
    list.items.push_back(item);
  }
  for (const auto& [g, toWindow] : placed) {
    const GaugeInstance& instance = *panel.instance(g);
    const GaugeModel& model = instance.model();
    if (const int background = images.index(g, model.image); background >= 0) {
      DisplayItem item;
      item.image = background;
      item.place = toWindow;
      list.items.push_back(item);
    }
    WindowDrawer(instance, g, toWindow, images, motion, now, list).draw(model.elements);
  }
  return list;
}

}  // namespace vorlanex::gauges
