#include "gauge_view.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "display_list.h"
#include "mouse_areas.h"
#include "painter.h"
#include "platform/portable/ascii_case.h"

namespace vorlanex::tool {
namespace {

using nlohmann::json;

// The events the page lists: the latest, enough to see what a click sent.
constexpr std::size_t kEventsShown = 20;

// The control that fits a unit: the clock's are shown only.
const char* controlFor(const std::string& unit, bool clock) {
  if (clock) return "clock";
  if (unit == "bool") return "switch";
  if (unit == "percent") return "slider";
  return "number";
}

// The kinds an area's clicks listen to, each once, and whether one repeats.
json areaJson(const gauges::NumberedArea& numbered, double x, double y, double scaleX,
              double scaleY, double width, double height) {
  const gauges::MouseArea& area = *numbered.area;
  json kinds = json::array();
  bool repeat = false;
  for (const gauges::Click& click : area.clicks) {
    repeat = repeat || click.repeat;
    for (const std::string& kind : click.kinds) {
      if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
    }
  }
  // A root of unknown size is the whole gauge.
  const gauges::Rect rect =
      area.rect.width > 0 ? area.rect : gauges::Rect{0, 0, width / scaleX, height / scaleY};
  return {{"number", numbered.number},
          {"left", x + rect.left * scaleX},
          {"top", y + rect.top * scaleY},
          {"width", rect.width * scaleX},
          {"height", rect.height * scaleY},
          {"tooltip", area.tooltip},
          {"cursor", area.cursor},
          {"kinds", kinds},
          {"repeat", repeat}};
}

// Places to a thousandth of a unit: finer moves nothing on the page, and a
// needle at rest sends nothing.
double rounded(double value) { return std::round(value * 1000.0) / 1000.0; }

json placeJson(const gauges::Affine& m) {
  return {rounded(m.a), rounded(m.b), rounded(m.c), rounded(m.d), rounded(m.tx), rounded(m.ty)};
}

// An item as the page's painter reads it (panel_view.js, drawItem):
//   image: [0, image, place, lighting, mask, maskPlace]
//   text:  [1, place, lighting, text, width, height, size, fixed, colour,
//           background (-1: none), adjust, verticalAdjust]
// Lighting: 0 plain, 1 luminous, 2 bright.
json itemJson(const gauges::DisplayItem& item) {
  const int lighting = static_cast<int>(item.lighting);
  if (item.kind == gauges::DisplayItem::Kind::kImage) {
    return {0, item.image, placeJson(item.place), lighting, item.mask,
            item.mask >= 0 ? placeJson(item.maskPlace) : json()};
  }
  const gauges::DrawnText& t = item.text;
  return {1, placeJson(item.place), lighting, t.text, t.width, t.height, t.size, t.fixed, t.color,
          t.hasBackground ? static_cast<long long>(t.background) : -1LL, t.adjust, t.verticalAdjust};
}

json writerJson(const Writer& writer) {
  if (writer.kind != Writer::Kind::kGauge) return {{"by", writerText(writer)}};
  return {{"by", writer.site.gauge}, {"file", writer.site.file}, {"line", writer.site.line}};
}

}  // namespace

GaugeView::GaugeView(const gauges::GaugePanel& panel, gauges::SimulatedAircraft& aircraft,
                     gauges::ImageBytes images, std::string root)
    : panel_(panel), aircraft_(aircraft), images_(std::move(images)), tooltips_(aircraft), root_(std::move(root)) {
  facts_ = makeFacts();
}

std::shared_ptr<const GaugeFacts> GaugeView::facts() const {
  std::lock_guard<std::mutex> lock(factsMutex_);
  return facts_;
}

void GaugeView::remakeFacts() {
  std::shared_ptr<const GaugeFacts> made = makeFacts();
  std::lock_guard<std::mutex> lock(factsMutex_);
  facts_ = std::move(made);
}

void GaugeView::readImagesAgain() {
  std::lock_guard<std::mutex> lock(imagesMutex_);
  images_.readAgain();
  // Closed windows too show their images anew when next drawn.
  for (Parts& window : windowParts_) window.clear();
}

std::optional<std::string> GaugeView::imagePng(std::size_t index) {
  std::lock_guard<std::mutex> lock(imagesMutex_);
  if (index >= images_.count()) return std::nullopt;
  return gauges::pngBytes(images_.image(static_cast<int>(index)));
}

bool GaugeView::settable(std::size_t variable) const {
  const auto held = facts();
  return variable < held->slots.size() && !held->slots[variable].clock;
}

gauges::VariableName GaugeView::aircraftVariable(std::size_t variable) const {
  return facts()->slots.at(variable).name;
}

bool GaugeView::listens(std::size_t gauge, int number, const std::string& kind) const {
  const auto held = facts();
  for (const GaugeFacts::Area& area : held->areas.at(gauge)) {
    if (area.number != number) continue;
    for (const std::string& listened : area.kinds) {
      if (platform::equalNoCase(listened, kind)) return true;
    }
  }
  return false;
}

bool GaugeView::areaHolds(std::size_t gauge, int number, double x, double y) const {
  const auto held = facts();
  for (const GaugeFacts::Area& area : held->areas.at(gauge)) {
    if (area.number != number) continue;
    // A root of unknown size is the whole gauge.
    return area.rect.width <= 0 || area.rect.contains(x, y);
  }
  return false;
}

std::shared_ptr<const GaugeFacts> GaugeView::makeFacts() const {
  auto made = std::make_shared<GaugeFacts>();
  json windows = json::array();
  for (std::size_t w = 0; w < panel_.windows().size(); ++w) {
    const gauges::PanelWindowSection& window = panel_.windows()[w];
    windows.push_back({{"section", window.section}, {"ident", window.ident}, {"title", window.title},
                       {"width", window.width}, {"height", window.height}});
    made->windowSections.push_back(window.section);
    made->windowsOpen.push_back(panel_.windowOpen(static_cast<int>(w)));
  }
  json gaugeList = json::array();
  for (std::size_t g = 0; g < panel_.gauges().size(); ++g) {
    const gauges::PanelGaugeLine& gaugeLine = panel_.gauges()[g];
    const gauges::GaugeModel& model = panel_.model(static_cast<int>(g));
    int window = -1;
    for (std::size_t w = 0; w < made->windowSections.size() && window < 0; ++w) {
      if (platform::equalNoCase(made->windowSections[w], gaugeLine.section)) window = static_cast<int>(w);
    }
    made->windowOf.push_back(window);
    const std::optional<int> first = panel_.findGauge(gaugeLine.name);
    made->stepTargets.push_back(first && static_cast<std::size_t>(*first) == g
                                    ? gaugeLine.name
                                    : gaugeLine.section + "/" + gaugeLine.name);
    // The gauge line's size, else the gauge's own; its pixels scaled to it.
    const double width = gaugeLine.width > 0 ? gaugeLine.width : model.width;
    const double height = gaugeLine.height > 0 ? gaugeLine.height : model.height;
    const double scaleX = model.width > 0 && width > 0 ? width / model.width : 1.0;
    const double scaleY = model.height > 0 && height > 0 ? height / model.height : scaleX;
    json areas = json::array();
    std::vector<GaugeFacts::Area>& held = made->areas.emplace_back();
    if (model.mouse && gaugeLine.text) {
      for (const gauges::NumberedArea& area : gauges::numberAreas(*model.mouse)) {
        areas.push_back(areaJson(area, gaugeLine.x, gaugeLine.y, scaleX, scaleY, width, height));
        GaugeFacts::Area& kept = held.emplace_back(GaugeFacts::Area{area.number, area.area->rect, {}});
        for (const gauges::Click& click : area.area->clicks) {
          kept.kinds.insert(kept.kinds.end(), click.kinds.begin(), click.kinds.end());
        }
      }
    }
    gaugeList.push_back({{"name", gaugeLine.name}, {"file", gaugeLine.file}, {"window", window},
                         {"xml", gaugeLine.text.has_value()},
                         {"x", gaugeLine.x}, {"y", gaugeLine.y}, {"width", width}, {"height", height},
                         {"scaleX", scaleX}, {"scaleY", scaleY},
                         {"areas", areas}});
  }
  json aircraft = json::array();
  for (int slot = 0; slot < aircraft_.slotCount(); ++slot) {
    const GaugeFacts::AircraftSlot& held = made->slots.emplace_back(
        GaugeFacts::AircraftSlot{slot, aircraft_.variableOf(slot), aircraft_.clockDriven(slot)});
    aircraft.push_back({{"name", gauges::variableText(held.name)}, {"unit", held.name.unit},
                        {"control", controlFor(held.name.unit, held.clock)}});
  }
  made->json = json{{"windows", windows}, {"gauges", gaugeList}, {"aircraft", aircraft},
                    {"root", root_.empty() ? root_ : root_ + "/"}}
                   .dump(-1, ' ', false, json::error_handler_t::replace);
  return made;
}

void GaugeView::noteWrite(const std::string& name, const Writer& writer) {
  lastWriters_[name] = writer;
}

void GaugeView::noteSent(const SentEventRecord& sent) {
  ++sentCount_;
  sent_.push_back(sent);
  if (sent_.size() > kEventsShown) sent_.pop_front();
}

void GaugeView::addFrameParts(const host::NamedVariables& variables, Parts& parts) {
  json open = json::array();
  for (std::size_t w = 0; w < panel_.windows().size(); ++w) {
    open.push_back(panel_.windowOpen(static_cast<int>(w)));
  }
  const std::shared_ptr<const GaugeFacts> facts = this->facts();
  json aircraft = json::array();
  for (const GaugeFacts::AircraftSlot& held : facts->slots) aircraft.push_back(aircraft_.get(held.slot));
  json events = json::array();
  for (const SentEventRecord& e : sent_) {
    json event = {{"frame", e.frame}, {"time", e.time}, {"event", e.event}, {"value", e.value}};
    event.update(writerJson(e.sender));
    events.push_back(std::move(event));
  }
  json named = json::array();
  const std::vector<std::string>& names = variables.names();
  for (std::size_t id = 0; id < names.size(); ++id) {
    const std::string& name = names[id];
    json variable = {{"name", name}, {"value", variables.get(static_cast<std::int32_t>(id))}};
    if (const auto it = lastWriters_.find(name); it != lastWriters_.end()) {
      variable.update(writerJson(it->second));
    }
    named.push_back(std::move(variable));
  }
  const auto add = [&](std::string name, const json& part) {
    parts.emplace_back(std::move(name), part.dump(-1, ' ', false, json::error_handler_t::replace));
  };
  add("windowsOpen", open);
  add("aircraft", aircraft);
  add("clock", aircraft_.time());
  add("sent", events);
  add("eventCount", sentCount_);
  add("variables", named);
  parts.emplace_back("tooltips", tooltips_.formattedJson(panel_, variables));
  windowParts_.resize(panel_.windows().size());
  for (std::size_t w = 0; w < panel_.windows().size(); ++w) {
    Parts& window = windowParts_[w];
    if (!window.empty() && !panel_.windowOpen(static_cast<int>(w))) {
      parts.insert(parts.end(), window.begin(), window.end());
      continue;
    }
    std::unique_lock<std::mutex> lock(imagesMutex_);
    const gauges::DisplayList list =
        gauges::displayWindow(panel_, static_cast<int>(w), images_, motion_, aircraft_.time());
    lock.unlock();
    window.clear();
    const std::string prefix = "d:" + std::to_string(w) + ":";
    const auto item = [&](std::string name, const json& part) {
      window.emplace_back(prefix + name, part.dump(-1, ' ', false, json::error_handler_t::replace));
    };
    item("n", {list.items.size(), rounded(list.width), rounded(list.height)});
    for (std::size_t i = 0; i < list.items.size(); ++i) item(std::to_string(i), itemJson(list.items[i]));
    parts.insert(parts.end(), window.begin(), window.end());
  }
}

}  // namespace vorlanex::tool
