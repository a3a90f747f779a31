// libFuzzer harness for the panel tool's readers of authors' files: whatever
// bytes an INI file, a panel.cfg, an XML gauge or a run script holds, the
// check and the script parser must report, never crash. The gauge-script
// library takes the same bytes as a gauge it runs and clicks, and as a bare
// script and a gauge string: it must neither crash, hang nor grow without
// bound, whatever loops (g jumps, %{loop}s), macros (with arguments or not)
// and operators the text holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gauge_panel.h"
#include "gauge_string.h"
#include "ini_scan.h"
#include "panel_cfg.h"
#include "platform/portable/ini_text.h"
#include "script_parser.h"
#include "script_program.h"
#include "variable_name.h"
#include "xml_gauge.h"

namespace {

// Every value the profile lookup finds must come from a line the check
// counts as read: the two cannot disagree about which line Windows uses.
void agree(std::string_view text, const vorlanex::tool::IniScan& scan, const char* section,
           const char* key) {
  if (vorlanex::platform::findProfileValue(text, section, key) && scan.keys.lineOf(key) == 0) {
    __builtin_trap();
  }
}

namespace gauges = vorlanex::gauges;

// The text as a panel's only gauge: a few frames, and clicks of a few kinds
// (the gauge's own first one among them) on its first areas, by number, by
// point, by tooltip and as the only one.
void runAsGauge(std::string_view text) {
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  gauges::PanelWindowSection window;
  window.section = "Window00";
  gauges::PanelGaugeLine gauge;
  gauge.section = window.section;
  gauge.name = "fuzz!gauge";
  gauge.file = "fuzz.xml";
  gauge.text = std::string(text);
  gauge.line = 2;
  gauge.width = gauge.height = 60;
  gauges::GaugePanel panel({window}, {gauge}, shared, aircraft);
  const gauges::GaugeModel& model = panel.model(0);
  std::string tooltip = "none";
  std::string ownKind = "LeftSingle";
  if (model.mouse && !model.mouse->areas.empty()) tooltip = model.mouse->areas.front().tooltip;
  if (model.mouse && !model.mouse->clicks.empty() && !model.mouse->clicks.front().kinds.empty()) {
    ownKind = model.mouse->clicks.front().kinds.front();
  }
  const gauges::AreaChoice choices[] = {
      {gauges::AreaChoice::By::kOnly, "", 0, 0, 0},
      {gauges::AreaChoice::By::kNumber, "", 1, 0, 0},
      {gauges::AreaChoice::By::kNumber, "", 3, 0, 0},
      {gauges::AreaChoice::By::kPoint, "", 0, 10, 10},
      {gauges::AreaChoice::By::kTooltip, tooltip, 0, 0, 0}};
  std::size_t clicks = 0;
  for (int frame = 0; frame < 3; ++frame) {
    panel.runFrame(1.0 / 18);
    for (const std::string& kind : {std::string("LeftSingle"), std::string("Leave"), ownKind}) {
      panel.click(0, choices[clicks++ % std::size(choices)], kind);
    }
  }
  if (!model.keys.empty()) panel.pressKey(model.keys.front().key);
  panel.blinkingElements(0);
  panel.setWindowOpen("window00", false);
  panel.runFrame(1.0 / 18);
  panel.findGauge(text.substr(0, 64));
}

// The text as one script and as one gauge string, run twice each (the second
// run sees the variables the first wrote); and as a variable's name, which
// must read back as itself once written out.
void runAsScript(std::string_view text) {
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  gauges::Findings findings;
  double gaugeVariables[10] = {};
  gauges::ScriptContext context{shared, aircraft, findings, gaugeVariables, "LeftSingle", 1, 2, nullptr, nullptr, "A"};
  const gauges::ScriptSite site{"fuzz!script", "fuzz.xml", 1, "fuzz"};
  const gauges::Program program = gauges::compileScript(text, site, context);
  gauges::runScript(program, context);
  gauges::runScript(program, context);
  const gauges::GaugeString string = gauges::compileGaugeString(text, site, context);
  gauges::formatGaugeString(string, context);
  gauges::formatGaugeString(string, context);
  const auto variable = gauges::parseVariableName(text);
  if (!variable) return;
  const auto again = gauges::parseVariableName(gauges::variableText(*variable));
  if (!again || again->kind != variable->kind || again->name != variable->name ||
      again->index != variable->index || again->unit != variable->unit) {
    __builtin_trap();
  }
  if (variable->kind == 'A' || variable->kind == 'E') {
    aircraft.write(*variable, aircraft.read(*variable) + 1);
  }
  if (variable->kind == 'K') aircraft.send(variable->name, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static vorlanex::SoundTable table{};
  table.soundCount = size > 0 ? data[0] % 101 : 0;
  const std::string file = "fuzz.ini";
  const vorlanex::tool::IniScan scan = vorlanex::tool::scanIniText(file, text, table);
  agree(text, scan, "Config", "MaxSounds");
  agree(text, scan, "Config", "LvarStop");
  if (table.soundCount > 0) {
    agree(text, scan, "Sounds", "Sound00");
    agree(text, scan, "LVars", "Lvar00");
  }
  vorlanex::tool::checkPanelConfig(file, text);
  vorlanex::tool::readPanelLayout(text);
  // Every variable found stands on a line of the file.
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  for (const vorlanex::tool::ScriptUse& use : vorlanex::tool::scanXmlGauge(std::string(text)).uses) {
    if (use.line < 1 || use.line > lines || use.use.name.empty()) __builtin_trap();
  }
  try {
    vorlanex::tool::parseScript(file, text);
  } catch (const vorlanex::tool::ScriptError&) {
  }
  runAsGauge(text);
  runAsScript(text);
  return 0;
}
