#include "panel_at_rest.h"

#include <map>
#include <tuple>

#include "commands/command_value.h"
#include "config/ini_layout.h"
#include "cross_check.h"
#include "image_sizes.h"
#include "linked_module.h"
#include "report_text.h"
#include "script_runner.h"

namespace vorlanex::tool {
namespace {

constexpr double kSecondsAtRest = 2.0;
constexpr double kFramesPerSecond = host::PanelHost::kDefaultFrameRate;

// A variable the check watches, with the INI key that names it.
struct Watched {
  std::string key;
  bool stopAll;
};

// One script line writing one variable, and the frames it wrote it in.
struct Writes {
  gauges::ScriptSite site;
  double lastValue = 0.0;
  int framesInLastSecond = 0;
  int lastFrame = -1;
};

std::map<std::string, Watched> watched(const SoundTable& table) {
  std::map<std::string, Watched> out;
  for (int i = 0; i < table.soundCount; ++i) {
    out.emplace(table.slots[i].varName, Watched{indexedKey(ini::kVariableKeyPrefix, i), false});
  }
  out.emplace(table.stopAll.varName, Watched{ini::kStopVariableKey, true});
  return out;
}

// What writing `value` in every frame does, or "" when the module's protocol
// expects it so: a loop kept up with 2, a sound held stopped with 0.
std::string consequence(const Watched& variable, double value) {
  if (variable.stopAll) return value > 0 ? "every sound is stopped again and again" : "";
  if (decodeCommand(truncateToInt32(value)).code == kCommandPlayOnce) {
    return "a one-shot written so plays again and again";
  }
  return "";
}

Script restingScript() {
  Step wait{1, Step::kRightAfter, Action::kWait};
  wait.seconds = kSecondsAtRest;
  return {"(at rest)", {wait}};
}

}  // namespace

Problems runPanelAtRest(const PanelGaugeSet& panel, const std::string& parameters,
                        const SoundTable& table, const std::string& globalDllPath,
                        const gauges::ImageBytes& images) {
  const std::map<std::string, Watched> variables = watched(table);
  std::map<std::tuple<std::string, int, std::string>, Writes> writes;
  int frame = 0;
  const int lastSecond = static_cast<int>(kSecondsAtRest * kFramesPerSecond) -
                         static_cast<int>(kFramesPerSecond) + 1;

  // The frames follow each other at once: the sounds' own time hardly
  // passes, which a gauge's writes at rest do not wait on.
  host::LinkedModule module;
  ScriptRunner runner(module.exports(), {kFramesPerSecond, parameters, globalDllPath, {}});
  runner.usePanel({panel.windows, panel.gauges, panel.module});
  runner.setFrameAdvance([&](int done, double) { frame = done + 1; });
  runner.setGaugeWriteListener(
      [&](const std::string& name, double value, const gauges::ScriptSite& site) {
        if (variables.count(name) == 0) return;
        Writes& w = writes[{site.file, site.line, name}];
        w.site = site;
        w.lastValue = value;
        if (frame >= lastSecond && frame != w.lastFrame) ++w.framesInLastSecond;
        w.lastFrame = frame;
      });
  const Script script = restingScript();
  runner.run(script);

  Problems problems = scriptFindings(runner.gaugePanel()->findings());
  gauges::Findings sizes;
  gauges::findImageSizeMismatches(*runner.gaugePanel(), images, sizes);
  for (Problem& problem : scriptFindings(sizes)) problems.push_back(std::move(problem));
  for (const auto& [at, w] : writes) {
    const std::string& name = std::get<2>(at);
    if (w.framesInLastSecond < frame - lastSecond) continue;
    const Watched& variable = variables.at(name);
    const std::string harm = consequence(variable, w.lastValue);
    if (harm.empty()) continue;
    problems.push_back({Severity::kWarning, w.site.file, w.site.line, variable.key,
                        w.site.gauge + " writes " + shortNumber(w.lastValue) + " into '" + name +
                            "' in every frame at rest: " + harm + " (in: " + w.site.excerpt +
                            ")"});
  }
  return problems;
}

}  // namespace vorlanex::tool
