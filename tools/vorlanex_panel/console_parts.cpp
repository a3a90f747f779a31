#include "console_parts.h"

#include "gauge_view.h"
#include "module_table.h"
#include "text_encoding.h"
#include "whole_file.h"

namespace vorlanex::tool {
namespace {

CheckResult checkFirst(const ConsoleRequest& request, std::FILE* out) {
  CheckRequest check;
  check.parameters = request.parameters;
  check.panelConfig = request.panelConfig;
  check.panelShown = request.panelShown;
  CheckResult checked = runCheck(check);
  for (const std::string& cause : checked.causes) std::fprintf(out, "first: %s\n", cause.c_str());
  return checked;
}

std::optional<PanelSetup> panelGauges(const ConsoleRequest& request) {
  if (request.panelConfig.empty()) return std::nullopt;
  return readPanelSetup(request.panelConfig, request.panelShown,
                        decodeText(readWholeFile(request.panelConfig).value_or("")).text);
}

// With the panel's gauges the module's variables are followed as run
// --panel follows them, so the log is the same.
RunOptions runOptions(const ConsoleRequest& request, const CheckResult& checked, bool gauges) {
  RunOptions options{request.framesPerSecond, request.parameters, request.globalDllPath};
  if (gauges) options.followed = moduleVariables(checked.module.table);
  return options;
}

}  // namespace

ConsoleParts::ConsoleParts(const ConsoleRequest& request, std::FILE* out, std::FILE* log)
    : checked(checkFirst(request, out)),
      gauges(panelGauges(request)),
      session(panelFacts(checked), checked.module.table, request.globalDll, replayCommand(request)),
      panel(request.modulePath, request.audio, runOptions(request, checked, gauges.has_value()),
            gauges ? std::optional<RunPanel>(gauges->panel) : std::nullopt),
      reload(request, gauges, panel, session, out, log) {
  if (gauges) {
    session.showGauges(std::make_unique<GaugeView>(*panel.gaugePanel(), *panel.aircraft(),
                                                   reload.imageBytes(), request.root));
  }
  // The author's saves are applied as the frames run.
  panel.setFrameStart([this](int frame) { reload.atFrameStart(frame); });
}

}  // namespace vorlanex::tool
