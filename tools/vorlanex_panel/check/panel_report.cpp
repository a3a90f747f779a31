#include "panel_report.h"

#include <cstdio>

#include "panel_gauges.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

const char* kindName(FoundGauge::Kind kind) {
  switch (kind) {
    case FoundGauge::Kind::kCompiled:
      return "compiled";
    case FoundGauge::Kind::kCabinet:
      return "cabinet";
    case FoundGauge::Kind::kFolder:
      return "folder";
    case FoundGauge::Kind::kNotFound:
      break;
  }
  return "not found";
}

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// The module's variables the report follows: each sound's, then the stop-all one.
struct Followed {
  std::string label;  // "00", "stop"
  std::string variable;
};

std::vector<Followed> followed(const SoundTable& table) {
  std::vector<Followed> out;
  for (int i = 0; i < table.soundCount; ++i) {
    out.push_back({indexedKey("", i), table.slots[i].varName});
  }
  out.push_back({"stop", table.stopAll.varName});
  return out;
}

std::string useLines(const PanelCheck& panel, const std::string& variable) {
  std::string text;
  for (bool write : {true, false}) {
    std::string last;
    for (const PanelUse& use : panel.gauges.uses) {
      if (use.script.use.write != write || use.script.use.name != variable) continue;
      const std::string where = use.file + ":" + std::to_string(use.script.line);
      if (where == last) continue;  // one line of a script, however many uses it holds
      last = where;
      text += std::string("        ") + (write ? "written  " : "read     ") + where + "  " +
              use.script.excerpt + "\n";
    }
  }
  return text.empty() ? "        no gauge writes or reads it\n" : text;
}

nlohmann::json usesJson(const PanelCheck& panel, const std::string& variable, bool write) {
  nlohmann::json uses = nlohmann::json::array();
  for (const PanelUse& use : panel.gauges.uses) {
    if (use.script.use.write != write || use.script.use.name != variable) continue;
    nlohmann::json entry = {{"file", use.file},
                            {"line", use.script.line},
                            {"excerpt", use.script.excerpt},
                            {"unit", use.script.use.unit}};
    if (use.script.use.constant) entry["constant"] = *use.script.use.constant;
    uses.push_back(entry);
  }
  return uses;
}

}  // namespace

std::string panelText(const PanelCheck& panel, const SoundTable& table) {
  std::string text = "panel: " + panel.file + "\n  line  key       section     gauge" +
                     std::string(27, ' ') + "found\n";
  for (const FoundGauge& gauge : panel.gauges.gauges) {
    char line[16];
    std::snprintf(line, sizeof line, "%6d", gauge.line.line);
    text += line + ("  " + padded(gauge.line.key, 8) + "  " + padded(gauge.line.section, 10) +
                    "  " + padded(gauge.name, 30) + "  ") +
            (gauge.where.empty() ? kindName(gauge.kind) : gauge.where) + "\n";
  }
  text += "\nwho writes and reads the module's variables:\n";
  for (const Followed& f : followed(table)) {
    text += "  " + padded(f.label, 4) + "  " + f.variable + "\n" + useLines(panel, f.variable);
  }
  return text;
}

nlohmann::json panelJson(const PanelCheck& panel, const SoundTable& table) {
  nlohmann::json gauges = nlohmann::json::array();
  for (const FoundGauge& gauge : panel.gauges.gauges) {
    gauges.push_back({{"line", gauge.line.line},
                      {"key", gauge.line.key},
                      {"section", gauge.line.section},
                      {"gauge", gauge.name},
                      {"found", kindName(gauge.kind)},
                      {"where", gauge.where}});
  }
  nlohmann::json variables = nlohmann::json::array();
  for (const Followed& f : followed(table)) {
    variables.push_back({{"slot", f.label},
                         {"variable", f.variable},
                         {"writes", usesJson(panel, f.variable, true)},
                         {"reads", usesJson(panel, f.variable, false)}});
  }
  return {{"file", panel.file}, {"gauges", gauges}, {"variables", variables}};
}

}  // namespace vorlanex::tool
