#include "gauge_instance.h"

#include <algorithm>
#include <sstream>

#include "gauge_xml.h"
#include "mouse_areas.h"
#include "text_case.h"

namespace vorlanex::gauges {
namespace {

// A frame's seconds carry rounding: a gauge due within this runs now.
constexpr double kDueTolerance = 1e-9;

bool shows(const Value& value) { return value.isText ? !value.text.empty() : value.number != 0.0; }

// The spelling the click itself gives the kind, which its script compares
// (M:Event) with; empty when the click does not listen to it.
std::string listenedKind(const Click& click, const std::string& kind) {
  for (const std::string& listened : click.kinds) {
    if (equalNoCase(listened, kind)) return listened;
  }
  return {};
}

}  // namespace

GaugeInstance::GaugeInstance(const PanelGaugeLine& gaugeLine, SharedVariables& shared,
                             SimulatedAircraft& aircraft, Findings& findings)
    : line_(gaugeLine),
      shared_(shared),
      aircraft_(aircraft),
      findings_(findings),
      model_(readGaugeModel(gaugeLine.text.value_or(""), siteOf(0, ""), findings)) {
  if (Program update = compile(model_.update); !update.empty()) cycle_.addUpdate(std::move(update));
  for (const GaugeElement& element : model_.elements) layOutElement(element);
  cycle_.finish();
  blinks_.assign(blinking_.size(), 0);
  if (model_.mouse) compileClicks(*model_.mouse);
  for (const KeyHandler& key : model_.keys) keys_.push_back(compile(key.script));
}

ScriptContext GaugeInstance::context() {
  return ScriptContext{shared_, aircraft_, findings_, gaugeVariables_, {}, 0.0, 0.0, nullptr, nullptr, {}};
}

ScriptSite GaugeInstance::siteOf(int line, const std::string& text) const {
  return scriptLineSite({line_.name, line_.file, line, {}}, 0, text);
}

Program GaugeInstance::compile(const ScriptText& script) {
  if (!script.present()) return {};
  ScriptContext compiling = context();
  return compileScript(script.text, siteOf(script.line, script.text), compiling);
}

// As the simulator runs an element: its Visible, its BlinkCode, its Values in
// file order, its Strings, then its children; a Visible that gives 0 skips
// the rest. A Value or BlinkCode without a script runs nothing.
void GaugeInstance::layOutElement(const GaugeElement& element) {
  const bool hasVisible = element.visible.present();
  ElementSlots slots;
  if (hasVisible) {
    slots.visible = static_cast<int>(results_.size());
    results_.push_back(1.0);
  }
  slots.firstValue = static_cast<int>(results_.size());
  results_.resize(results_.size() + element.values.size(), 0.0);
  const size_t visible = hasVisible ? cycle_.addVisible(compile(element.visible), slots.visible) : 0;
  if (Program blinkCode = compile(element.blinkCode); !blinkCode.empty()) {
    blinking_.push_back({element.line, static_cast<int>(blinking_.size())});
    cycle_.addBlinkCode(std::move(blinkCode), blinking_.back().slot);
  }
  for (std::size_t i = 0; i < element.values.size(); ++i) {
    if (Program program = compile(element.values[i]); !program.empty()) {
      cycle_.addValue(std::move(program), slots.firstValue + static_cast<int>(i));
    }
  }
  for (const ScriptText& text : element.strings) {
    slots.strings.push_back(-1);
    if (!text.present()) continue;
    ScriptContext compiling = context();
    const ScriptSite site = siteOf(text.line, text.text);
    strings_.push_back({site, compileGaugeString(text.text, site, compiling), {}});
    slots.strings.back() = static_cast<int>(strings_.size() - 1);
    cycle_.addString(slots.strings.back(), site);
  }
  elementSlots_.push_back(std::move(slots));
  for (const GaugeElement& child : element.children) layOutElement(child);
  if (hasVisible) cycle_.skipHiddenTo(visible);
}

void GaugeInstance::compileClicks(const MouseArea& area) {
  if (area.visible.present()) areaVisibles_[&area] = compile(area.visible);
  for (const Click& click : area.clicks) {
    const int line = click.script.present() ? click.script.line : click.line;
    clicks_[&click] = {siteOf(line, click.script.present() ? click.script.text : click.event),
                       compile(click.script)};
  }
  for (const MouseArea& child : area.areas) compileClicks(child);
}

void GaugeInstance::runFrame(double seconds, ScriptStack& stack, const StringListener* strings) {
  if (model_.updateFrequency > 0) {
    const bool due = untilDue_ <= kDueTolerance;
    if (due) untilDue_ = std::max(0.0, untilDue_ + 1.0 / model_.updateFrequency);
    untilDue_ -= seconds;
    if (!due) return;
  }
  ScriptContext running = context();
  stack.clear();
  if (kStackSharing == StackSharing::kPerGaugeCycle) running.stack = &stack;
  listener_ = strings;
  cycle_.run(running, stack, blinks_.data(), results_.data(), *this);
  listener_ = nullptr;
}

void GaugeInstance::format(int index, ScriptContext& context) {
  CompiledString& text = strings_[static_cast<size_t>(index)];
  std::string shown = formatGaugeString(text.text, context);
  if (shown == text.shown) return;
  text.shown = std::move(shown);
  if (listener_ != nullptr && *listener_) (*listener_)(text.site, text.shown);
}

bool GaugeInstance::areaShown(const MouseArea& area) {
  const auto visible = areaVisibles_.find(&area);
  if (visible == areaVisibles_.end()) return true;
  ScriptContext asking = context();
  return shows(evaluateScript(visible->second, asking));
}

int GaugeInstance::pressKey(const std::string& key) {
  int ran = 0;
  for (std::size_t i = 0; i < model_.keys.size(); ++i) {
    if (!equalNoCase(model_.keys[i].key, key)) continue;
    ScriptContext pressing = context();
    pressing.key = model_.keys[i].key;
    runScript(keys_[i], pressing);
    ++ran;
  }
  return ran;
}

std::vector<int> GaugeInstance::blinkingElements() const {
  std::vector<int> lines;
  for (const BlinkingElement& element : blinking_) {
    if (blinks_[static_cast<size_t>(element.slot)] != 0) lines.push_back(element.line);
  }
  return lines;
}

bool GaugeInstance::elementShown(int element) const {
  const int slot = elementSlots_[static_cast<size_t>(element)].visible;
  return slot < 0 || results_[static_cast<size_t>(slot)] != 0.0;
}

double GaugeInstance::elementValue(int element, int value) const {
  return results_[static_cast<size_t>(elementSlots_[static_cast<size_t>(element)].firstValue + value)];
}

const std::string& GaugeInstance::elementText(int element, int string) const {
  static const std::string kNone;
  const std::vector<int>& strings = elementSlots_[static_cast<size_t>(element)].strings;
  if (string < 0 || static_cast<size_t>(string) >= strings.size() || strings[static_cast<size_t>(string)] < 0) {
    return kNone;
  }
  return strings_[static_cast<size_t>(strings[static_cast<size_t>(string)])].shown;
}

ClickOutcome GaugeInstance::click(const AreaChoice& choice, const std::string& kind) {
  if (!model_.mouse) return {false, line_.name + " has no <Mouse>"};
  const ChosenArea chosen =
      chooseArea(*model_.mouse, choice, [this](const MouseArea& area) { return areaShown(area); });
  if (chosen.area == nullptr) return {false, line_.name + ": " + chosen.problem};
  const MouseArea& area = *chosen.area;
  const bool atPoint = choice.by == AreaChoice::By::kPoint;
  bool heard = false;
  for (const Click& click : area.clicks) {
    const std::string listened = listenedKind(click, kind);
    if (listened.empty()) continue;
    heard = true;
    const CompiledClick& compiled = clicks_.at(&click);
    if (!click.event.empty()) aircraft_.send(click.event, 0.0, compiled.site);
    if (compiled.script.empty()) continue;
    ScriptContext clicking = context();
    clicking.mouseEvent = listened;
    clicking.mouseX = atPoint ? choice.x : area.rect.left + area.rect.width / 2;
    clicking.mouseY = atPoint ? choice.y : area.rect.top + area.rect.height / 2;
    runScript(compiled.script, clicking);
  }
  if (heard) return {true, {}};
  std::ostringstream why;
  why << line_.name << ": "
      << (chosen.number > 0 ? "area #" + std::to_string(chosen.number) : "the gauge's <Mouse>")
      << " (line " << area.line << ") has no click of kind " << kind << "; its areas:\n"
      << describeAreas(*model_.mouse);
  return {false, why.str()};
}

void GaugeInstance::keepGaugeVariables(const GaugeInstance& replaced) {
  std::copy(std::begin(replaced.gaugeVariables_), std::end(replaced.gaugeVariables_),
            std::begin(gaugeVariables_));
}

}  // namespace vorlanex::gauges
