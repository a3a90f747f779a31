#include "snapshot_command.h"

#include <filesystem>

#include "device_clock.h"
#include "display_list.h"
#include "exit_status.h"
#include "linked_module.h"
#include "painter.h"
#include "panel_cfg.h"
#include "panel_setup.h"
#include "script_parser.h"
#include "script_runner.h"
#include "text_case.h"
#include "text_encoding.h"
#include "whole_file.h"

namespace vorlanex::tool {
namespace {

// Frames fall on multiples of the frame length: the moment is the frame it rounds into.
constexpr double kTimeSlack = 1e-9;

using CommandLineError = SnapshotRequestError;

int windowNamed(const gauges::GaugePanel& panel, const std::string& name) {
  const auto& windows = panel.windows();
  if (windows.empty()) throw std::runtime_error("the panel has no window to draw");
  if (name.empty()) return 0;
  for (size_t w = 0; w < windows.size(); ++w) {
    if (gauges::equalNoCase(windows[w].section, name) || gauges::equalNoCase(windows[w].ident, name) ||
        gauges::equalNoCase(windows[w].title, name)) {
      return static_cast<int>(w);
    }
  }
  std::string known;
  for (const auto& window : windows) known += (known.empty() ? "" : ", ") + window.section;
  throw CommandLineError("the panel has no window named " + name + " (its windows: " + known + ")");
}

}  // namespace

gauges::Raster drawSnapshot(const SnapshotRequest& request, std::vector<std::string>& missing) {
  Script script;
  if (!request.scriptFile.empty()) {
    const std::optional<std::string> text = readWholeFile(request.scriptFile);
    if (!text) throw CommandLineError("cannot read " + request.scriptFile);
    script = parseScript(request.scriptFile, *text);
  }
  if (request.at > longestDuration(script) + kTimeSlack) {
    char told[128];
    std::snprintf(told, sizeof told, "--at %g is past the script's end at %g s", request.at,
                  longestDuration(script));
    throw CommandLineError(told);
  }
  const std::optional<std::string> bytes = readWholeFile(request.panelConfig);
  if (!bytes) throw CommandLineError("cannot read " + request.panelShown);
  const std::string text = decodedTextOf(*bytes, request.panelShown);
  const std::string parameters = request.parameters.value_or(moduleParameters(text));
  PanelSetup setup = readPanelSetup(request.panelConfig, request.panelShown, text);
  const std::vector<FoundGauge> found = setup.found;
  const std::filesystem::path panelFolder = std::filesystem::path(request.panelConfig).parent_path();

  host::LinkedModule linked;
  // The device's time passes as in `run`, so sounds end and hand their
  // variables back, and the script's waits end when they do.
  DeviceClock audio(AudioRequest{});
  ScriptRunner runner(linked.exports(), {request.framesPerSecond, parameters, request.globalDllPath, {}});
  runner.usePanel(std::move(setup.panel));
  gauges::GaugePanel& panel = *runner.gaugePanel();
  const int window = windowNamed(panel, request.window);
  gauges::GaugeImages images([&](int gauge, const std::string& name) -> std::optional<std::string> {
    if (gauge < 0) return readWholeFile((panelFolder / name).string());
    return readBesideGauge(found.at(static_cast<size_t>(gauge)), name);
  });
  // Made every frame up to the moment, so the Delays' needles move as they would.
  gauges::DelayedMotion motion;
  std::optional<gauges::DisplayList> list;
  bool reached = false;
  runner.setFrameAdvance([&](int frame, double seconds) {
    audio.frameDone(seconds);
    if (reached) return;
    list = gauges::displayWindow(panel, window, images, motion, frame * seconds);
    reached = frame * seconds + kTimeSlack >= request.at;
  });
  runner.run(script);
  if (!list) list = gauges::displayWindow(panel, window, images, motion, 0.0);
  for (const gauges::GaugeImages::Missing& image : images.missing()) {
    const std::string where = image.gauge < 0 ? request.panelShown
                                              : panel.gauges()[static_cast<size_t>(image.gauge)].file;
    missing.push_back(where + ": no bitmap " + image.name + " to draw");
  }
  if (list->width <= 0.0 || list->height <= 0.0) {
    throw std::runtime_error("window " + panel.windows()[static_cast<size_t>(window)].section +
                             " has no size_mm and no gauge to draw");
  }
  return gauges::paintDisplayList(*list, images, {request.scale, request.night});
}

int snapshotCommand(const SnapshotRequest& request, std::FILE* out, std::FILE* errors) {
  try {
    std::vector<std::string> missing;
    const gauges::Raster raster = drawSnapshot(request, missing);
    for (const std::string& line : missing) std::fprintf(out, "%s\n", line.c_str());
    writeOutputFile(request.outFile, gauges::pngBytes(raster));
    return kExitHeld;
  } catch (const CommandLineError& e) {
    std::fprintf(errors, "vorlanex-panel: %s\n", e.what());
    return kExitCannotFollow;
  } catch (const std::exception& e) {
    std::fflush(out);
    std::fprintf(errors, "%s: %s\n", request.panelShown.c_str(), e.what());
    return kExitErrors;
  }
}

}  // namespace vorlanex::tool
