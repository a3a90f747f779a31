#include "gauge_view.h"

#include <nlohmann/json.hpp>

#include "mouse_areas.h"
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
          {"kinds", kinds},
          {"repeat", repeat}};
}

json writerJson(const Writer& writer) {
  if (writer.kind != Writer::Kind::kGauge) return {{"by", writerText(writer)}};
  return {{"by", writer.site.gauge}, {"file", writer.site.file}, {"line", writer.site.line}};
}

}  // namespace

GaugeView::GaugeView(const gauges::GaugePanel& panel, const gauges::SimulatedAircraft& aircraft,
                     std::vector<std::string> images, std::string root)
    : panel_(panel), aircraft_(aircraft), images_(std::move(images)), root_(std::move(root)) {
  images_.resize(panel.gauges().size());
  for (const gauges::PanelGaugeLine& gauge : panel.gauges()) {
    int window = -1;
    for (std::size_t w = 0; w < panel.windows().size() && window < 0; ++w) {
      if (platform::equalNoCase(panel.windows()[w].section, gauge.section)) {
        window = static_cast<int>(w);
      }
    }
    windowOf_.push_back(window);
  }
  for (int slot = 0; slot < aircraft.slotCount(); ++slot) {
    slots_.push_back({slot, aircraft.variableOf(slot), aircraft.clockDriven(slot)});
  }
  facts_ = makeFacts();
}

const std::string* GaugeView::image(std::size_t gauge) const {
  return gauge < images_.size() && !images_[gauge].empty() ? &images_[gauge] : nullptr;
}

bool GaugeView::settable(std::size_t variable) const {
  return variable < slots_.size() && !slots_[variable].clock;
}

gauges::VariableName GaugeView::aircraftVariable(std::size_t variable) const {
  return slots_.at(variable).name;
}

std::string GaugeView::stepTarget(std::size_t gauge) const {
  const gauges::PanelGaugeLine& gaugeLine = panel_.gauges().at(gauge);
  const std::optional<int> first = panel_.findGauge(gaugeLine.name);
  if (first && static_cast<std::size_t>(*first) == gauge) return gaugeLine.name;
  return gaugeLine.section + "/" + gaugeLine.name;
}

bool GaugeView::listens(std::size_t gauge, int number, const std::string& kind) const {
  const gauges::GaugeModel& model = panel_.model(static_cast<int>(gauge));
  if (!model.mouse || !panel_.gauges().at(gauge).text) return false;
  for (const gauges::NumberedArea& area : gauges::numberAreas(*model.mouse)) {
    if (area.number != number) continue;
    for (const gauges::Click& click : area.area->clicks) {
      for (const std::string& listened : click.kinds) {
        if (platform::equalNoCase(listened, kind)) return true;
      }
    }
  }
  return false;
}

std::string GaugeView::makeFacts() const {
  json windows = json::array();
  for (const gauges::PanelWindowSection& w : panel_.windows()) {
    windows.push_back({{"section", w.section}, {"ident", w.ident}, {"title", w.title},
                       {"width", w.width}, {"height", w.height}});
  }
  json gaugeList = json::array();
  for (std::size_t g = 0; g < panel_.gauges().size(); ++g) {
    const gauges::PanelGaugeLine& gaugeLine = panel_.gauges()[g];
    const gauges::GaugeModel& model = panel_.model(static_cast<int>(g));
    // The gauge line's size, else the gauge's own; its pixels scaled to it.
    const double width = gaugeLine.width > 0 ? gaugeLine.width : model.width;
    const double height = gaugeLine.height > 0 ? gaugeLine.height : model.height;
    const double scaleX = model.width > 0 && width > 0 ? width / model.width : 1.0;
    const double scaleY = model.height > 0 && height > 0 ? height / model.height : scaleX;
    json areas = json::array();
    if (model.mouse) {
      for (const gauges::NumberedArea& area : gauges::numberAreas(*model.mouse)) {
        areas.push_back(areaJson(area, gaugeLine.x, gaugeLine.y, scaleX, scaleY, width, height));
      }
    }
    gaugeList.push_back({{"name", gaugeLine.name}, {"file", gaugeLine.file}, {"window", windowOf_[g]},
                         {"xml", gaugeLine.text.has_value()}, {"image", image(g) != nullptr},
                         {"x", gaugeLine.x}, {"y", gaugeLine.y}, {"width", width}, {"height", height},
                         {"areas", areas}});
  }
  json aircraft = json::array();
  for (const AircraftSlot& held : slots_) {
    aircraft.push_back({{"name", gauges::variableText(held.name)}, {"unit", held.name.unit},
                        {"control", controlFor(held.name.unit, held.clock)}});
  }
  return json{{"windows", windows}, {"gauges", gaugeList}, {"aircraft", aircraft},
              {"root", root_.empty() ? root_ : root_ + "/"}}
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

void GaugeView::noteWrite(const std::string& name, const Writer& writer) {
  lastWriters_[name] = writer;
}

void GaugeView::noteSent(const SentEventRecord& sent) {
  ++sentCount_;
  sent_.push_back(sent);
  if (sent_.size() > kEventsShown) sent_.pop_front();
}

std::string GaugeView::frameJson(const host::NamedVariables& variables) const {
  json open = json::array();
  for (std::size_t w = 0; w < panel_.windows().size(); ++w) {
    open.push_back(panel_.windowOpen(static_cast<int>(w)));
  }
  json aircraft = json::array();
  for (const AircraftSlot& held : slots_) aircraft.push_back(aircraft_.get(held.slot));
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
  return json{{"windowsOpen", open}, {"aircraft", aircraft}, {"clock", aircraft_.time()},
              {"events", events}, {"eventCount", sentCount_}, {"variables", named}}
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace vorlanex::tool
