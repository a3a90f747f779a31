#include "panel_cfg.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "config/load_configuration.h"
#include "ini_path_rules.h"
#include "plain_text.h"
#include "platform/portable/ascii_case.h"
#include "platform/portable/ini_text.h"

namespace vorlanex::tool {
namespace {

constexpr std::string_view kModuleFile = "Vorlanex_sound";

bool isNumber(std::string_view text) {
  text = trimBlanks(text);
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && platform::equalNoCase(text.substr(0, prefix.size()), prefix);
}

// Splits "File!gauge, x, y, w, h, parameters" into the gauge's names and
// its parameter string.
void splitGaugeValue(std::string_view value, GaugeLine& gauge) {
  auto comma = value.find(',');
  const std::string_view names = value.substr(0, comma);
  const auto bang = names.find('!');
  gauge.file = std::string(trimBlanks(names.substr(0, bang)));
  if (bang != std::string_view::npos) gauge.gauge = std::string(trimBlanks(names.substr(bang + 1)));
  double* const place[] = {&gauge.x, &gauge.y, &gauge.width, &gauge.height};
  for (double* number : place) {
    if (comma == std::string_view::npos) break;
    const auto next = value.find(',', comma + 1);
    const std::string_view text = value.substr(comma + 1, next - comma - 1);
    if (!isNumber(text)) break;
    *number = std::strtod(std::string(trimBlanks(text)).c_str(), nullptr);
    comma = next;
  }
  if (comma != std::string_view::npos) gauge.parameters = std::string(trimBlanks(value.substr(comma + 1)));
}

// [Window00] and [Vcockpit01], not [Window Titles].
bool isWindowSection(std::string_view name) {
  for (const std::string_view prefix : {std::string_view("Window"), std::string_view("Vcockpit")}) {
    if (startsWithNoCase(name, prefix) && name.size() > prefix.size() &&
        name.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// "1024,768" or "1024": a window's size.
void readSize(std::string_view value, PanelWindow& window) {
  const auto comma = value.find(',');
  window.width = std::strtod(std::string(trimBlanks(value.substr(0, comma))).c_str(), nullptr);
  if (comma != std::string_view::npos) {
    window.height = std::strtod(std::string(trimBlanks(value.substr(comma + 1))).c_str(), nullptr);
  }
}

// What a window section's key says of the window.
void readWindowKey(std::string_view key, std::string_view value, PanelWindow& window) {
  auto is = [&](const char* name) { return platform::equalNoCase(key, name); };
  if (is("visible")) window.hidden = platform::profileValueToInt(value) == 0;
  if (is("ident")) window.ident = std::string(trimBlanks(value));
  if (is("file") && window.title.empty()) window.title = std::string(trimBlanks(value));
  if (is("file")) window.background = std::string(trimBlanks(value));
  if (is("size_mm") || is("size")) readSize(value, window);
}

// [Window Titles]: Window00=Main Panel.
void applyTitles(std::string_view text, std::vector<PanelWindow>& windows) {
  for (PanelWindow& window : windows) {
    const std::optional<std::string_view> title =
        platform::findProfileValue(text, "Window Titles", window.section);
    if (title && !title->empty()) window.title = std::string(platform::unquoteProfileValue(*title));
  }
}

// Every gaugeNN= line of the text, with the section it stands in.
std::vector<GaugeLine> readGaugeLines(std::string_view text, std::vector<PanelWindow>* windows) {
  std::vector<GaugeLine> gauges;
  platform::ProfileLineReader lines(text);
  platform::ProfileLine line;
  std::string section;
  while (lines.next(line)) {
    if (line.kind == platform::ProfileLine::Kind::kSection) {
      section = std::string(line.name);
      if (windows != nullptr && isWindowSection(section)) {
        windows->push_back({section, line.number, false});
      }
    }
    if (line.kind != platform::ProfileLine::Kind::kKey || !line.value) continue;
    if (windows != nullptr && !windows->empty() && windows->back().section == section) {
      readWindowKey(line.name, *line.value, windows->back());
    }
    if (!startsWithNoCase(line.name, "gauge")) continue;
    GaugeLine gauge{line.number, std::string(line.name), "", "", "", section};
    splitGaugeValue(*line.value, gauge);
    gauges.push_back(std::move(gauge));
  }
  return gauges;
}

void report(Problems& out, Severity severity, const std::string& file, const GaugeLine& gauge,
            std::string message) {
  out.push_back({severity, file, gauge.line, gauge.key, std::move(message)});
}

void checkGauge(const std::string& file, const GaugeLine& gauge, const GaugeLine& first,
                Problems& out) {
  if (!platform::equalNoCase(gauge.gauge, "sound")) {
    report(out, Severity::kError, file, gauge,
           "the module has one gauge, 'sound'; it has none named '" + gauge.gauge + "'");
    return;
  }
  if (const std::optional<PathProblem> problem = iniPathProblem(gauge.parameters)) {
    report(out, problem->severity, file, gauge, problem->message);
  }
  if (&gauge != &first && gauge.parameters != first.parameters) {
    report(out, Severity::kWarning, file, gauge,
           "the module reads one INI file, the one of the first of its gauges the simulator "
           "loads: this line names '" + gauge.parameters + "', line " +
               std::to_string(first.line) + " names '" + first.parameters + "'");
  }
}

}  // namespace

PanelLayout readPanelLayout(std::string_view text) {
  PanelLayout layout;
  for (GaugeLine& gauge : readGaugeLines(text, &layout.windows)) {
    if (isWindowSection(gauge.section)) layout.gauges.push_back(std::move(gauge));
  }
  applyTitles(text, layout.windows);
  return layout;
}

std::vector<GaugeLine> findModuleGauges(std::string_view text) {
  std::vector<GaugeLine> gauges = readGaugeLines(text, nullptr);
  gauges.erase(std::remove_if(gauges.begin(), gauges.end(),
                              [](const GaugeLine& gauge) { return !isModuleGauge(gauge); }),
               gauges.end());
  return gauges;
}

bool isModuleGauge(const GaugeLine& gauge) {
  return platform::equalNoCase(gauge.file, kModuleFile);
}

std::string moduleParameters(std::string_view text) {
  const std::vector<GaugeLine> gauges = findModuleGauges(text);
  return gauges.empty() ? "" : gauges.front().parameters;
}

Problems checkPanelConfig(const std::string& file, std::string_view text) {
  Problems problems;
  const std::vector<GaugeLine> gauges = findModuleGauges(text);
  if (gauges.empty()) {
    problems.push_back({Severity::kWarning, file, 0, "",
                        "no gauge line loads Vorlanex_sound!sound: the panel plays none of "
                        "these sounds"});
  }
  const std::vector<PanelWindow> windows = readPanelLayout(text).windows;
  for (const GaugeLine& gauge : gauges) {
    checkGauge(file, gauge, gauges.front(), problems);
    const auto window = std::find_if(windows.begin(), windows.end(), [&](const PanelWindow& w) {
      return platform::equalNoCase(w.section, gauge.section);
    });
    if (window != windows.end() && window->hidden) {
      report(problems, Severity::kWarning, file, gauge,
             "[" + window->section + "] has visible=0: the module starts only when the pilot "
             "first opens that window, and until then no sound plays");
    }
  }
  return problems;
}

}  // namespace vorlanex::tool
