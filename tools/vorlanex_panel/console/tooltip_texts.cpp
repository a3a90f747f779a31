#include "tooltip_texts.h"

#include <nlohmann/json.hpp>
#include <unordered_map>

#include "mouse_areas.h"

namespace vorlanex::tool {

// Reads the panel's variables; a name it does not know gets an id of its own
// past the panel's, which reads 0. Writes go nowhere.
class TooltipTexts::Reading : public gauges::SharedVariables {
 public:
  explicit Reading(const host::NamedVariables& variables) : variables_(variables) {}
  int bind(const std::string& name) override {
    const std::int32_t id = variables_.lookup(name);
    if (id != host::NamedVariables::kUnknown) return id;
    return unknown_.try_emplace(name, kUnknownIds + static_cast<int>(unknown_.size())).first->second;
  }
  double get(int id) const override { return id >= kUnknownIds ? 0.0 : variables_.get(id); }
  void set(int, double, const gauges::ScriptSite&) override {}

 private:
  static constexpr int kUnknownIds = 1 << 28;
  const host::NamedVariables& variables_;
  std::unordered_map<std::string, int> unknown_;
};

TooltipTexts::TooltipTexts(gauges::SimulatedAircraft& aircraft) : aircraft_(aircraft) {}
TooltipTexts::~TooltipTexts() = default;

gauges::ScriptContext TooltipTexts::context() {
  return gauges::ScriptContext{*reading_, aircraft_, findings_, gaugeVariables_, {}, 0.0, 0.0, nullptr, nullptr, {}};
}

std::string TooltipTexts::formattedJson(const gauges::GaugePanel& panel, const host::NamedVariables& variables) {
  if (!reading_) {
    reading_ = std::make_unique<Reading>(variables);
    for (std::size_t g = 0; g < panel.gauges().size(); ++g) {
      const gauges::GaugeModel& model = panel.model(static_cast<int>(g));
      if (!model.mouse) continue;
      for (const gauges::NumberedArea& area : gauges::numberAreas(*model.mouse)) {
        const std::string& tooltip = area.area->tooltip;
        if (tooltip.find("%(") == std::string::npos) continue;
        gauges::ScriptContext compiling = context();
        const gauges::ScriptSite site{panel.gauges()[g].name, panel.gauges()[g].file, area.area->line, tooltip};
        texts_.push_back({std::to_string(g) + ":" + std::to_string(area.number),
                          gauges::compileGaugeString(tooltip, site, compiling)});
      }
    }
  }
  nlohmann::json texts = nlohmann::json::object();
  for (const Formatted& formatted : texts_) {
    gauges::ScriptContext formatting = context();
    texts[formatted.key] = gauges::formatGaugeString(formatted.text, formatting);
  }
  return texts.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace vorlanex::tool
