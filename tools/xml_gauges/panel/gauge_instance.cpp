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
  update_ = compile(model_.update);
  for (const GaugeElement& element : model_.elements) elements_.push_back(compileElement(element));
  if (model_.mouse) compileClicks(*model_.mouse);
  for (const KeyHandler& key : model_.keys) keys_.push_back(compile(key.script));
}

ScriptContext GaugeInstance::context() {
  return ScriptContext{shared_, aircraft_, findings_, gaugeVariables_, {}, 0.0, 0.0};
}

ScriptSite GaugeInstance::siteOf(int line, const std::string& text) const {
  return scriptLineSite({line_.name, line_.file, line, {}}, 0, text);
}

Program GaugeInstance::compile(const ScriptText& script) {
  if (!script.present()) return {};
  ScriptContext compiling = context();
  return compileScript(script.text, siteOf(script.line, script.text), compiling);
}

GaugeInstance::CompiledElement GaugeInstance::compileElement(const GaugeElement& element) {
  CompiledElement compiled;
  compiled.hasVisible = element.visible.present();
  compiled.visible = compile(element.visible);
  for (const ScriptText& value : element.values) compiled.values.push_back(compile(value));
  for (const ScriptText& text : element.strings) {
    if (!text.present()) continue;
    ScriptContext compiling = context();
    compiled.strings.push_back(
        compileGaugeString(text.text, siteOf(text.line, text.text), compiling));
  }
  for (const GaugeElement& child : element.children) {
    compiled.children.push_back(compileElement(child));
  }
  return compiled;
}

void GaugeInstance::compileClicks(const MouseArea& area) {
  for (const Click& click : area.clicks) {
    const int line = click.script.present() ? click.script.line : click.line;
    clicks_[&click] = {siteOf(line, click.script.present() ? click.script.text : click.event),
                       compile(click.script)};
  }
  for (const MouseArea& child : area.areas) compileClicks(child);
}

void GaugeInstance::runFrame(double seconds) {
  if (model_.updateFrequency > 0) {
    const bool due = untilDue_ <= kDueTolerance;
    if (due) untilDue_ = std::max(0.0, untilDue_ + 1.0 / model_.updateFrequency);
    untilDue_ -= seconds;
    if (!due) return;
  }
  ScriptContext running = context();
  if (!update_.empty()) runScript(update_, running);
  for (const CompiledElement& element : elements_) runElement(element, running);
}

void GaugeInstance::runElement(const CompiledElement& element, ScriptContext& running) {
  if (element.hasVisible && !shows(runScript(element.visible, running))) return;
  for (const Program& value : element.values) {
    if (!value.empty()) runScript(value, running);
  }
  for (const GaugeString& text : element.strings) formatGaugeString(text, running);
  for (const CompiledElement& child : element.children) runElement(child, running);
}

ClickOutcome GaugeInstance::click(const AreaChoice& choice, const std::string& kind) {
  if (!model_.mouse) return {false, line_.name + " has no <Mouse>"};
  const ChosenArea chosen = chooseArea(*model_.mouse, choice);
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

}  // namespace vorlanex::gauges
