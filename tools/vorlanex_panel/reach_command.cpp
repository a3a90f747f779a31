#include "reach_command.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "exit_status.h"
#include "module_table.h"
#include "panel_cfg.h"
#include "panel_gauges.h"
#include "reach_panel.h"
#include "reach_report.h"
#include "terminal.h"
#include "text_encoding.h"
#include "way_script.h"
#include "whole_file.h"
#include "windows_files.h"

namespace vorlanex::tool {
namespace {

// "depth 2, 31 states, 5 of 8 sounds reached", redrawn in place on a terminal.
class ReachProgress {
 public:
  ReachProgress(std::FILE* out, bool shown) : out_(out), shown_(shown) {}
  ~ReachProgress() { clear(); }

  // Redrawn ten times a second at most: the search makes moves far faster.
  void update(int depth, std::size_t states, int reached, int sounds) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    std::fprintf(out_, "\rdepth %d, %zu states, %d of %d sounds reached ", depth, states, reached, sounds);
    std::fflush(out_);
    drawn_ = true;
  }
  void clear() {
    if (!drawn_) return;
    std::fprintf(out_, "\r%60s\r", "");
    drawn_ = false;
  }

 private:
  std::FILE* out_;
  bool shown_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_;
};

void writeWays(const ReachRequest& request, const PanelReach& reach) {
  std::filesystem::create_directories(request.outFolder);
  for (const SoundSeen& seen : reach.search.sounds) {
    if (!seen.reached) continue;
    const std::size_t sound = static_cast<std::size_t>(&seen - reach.search.sounds.data());
    const std::string variable = reach.setup.table.slots[sound].varName;
    const std::string file = (std::filesystem::path(request.outFolder) / wayScriptName(variable)).string();
    writeOutputFile(file, wayScript(*seen.reached, reach.search.moves, variable, request.panelShown,
                                    reach.setup.framesPerSecond));
  }
}

}  // namespace

int reachCommand(const ReachRequest& request, std::FILE* out, std::FILE* errors) {
  try {
    const std::optional<std::string> bytes = readWholeFile(request.panelConfig);
    if (!bytes) throw std::runtime_error("cannot read " + request.panelShown);
    const std::string text = decodedTextOf(*bytes, request.panelShown);
    const std::string parameters = request.parameters.value_or(moduleParameters(text));
    const PanelGauges found = findPanelGauges(request.panelConfig, request.panelShown, text);
    const PanelGaugeSet set = panelGaugeSet(text, found);
    if (!set.module) throw std::runtime_error(request.panelShown + " has no gauge line of the module: nothing plays");
    const ModuleTable table = readModuleTable(parameters);
    PanelReach reach;
    {
      ReachProgress progress(out, !request.json && standardOutputIsTerminal());
      reach = reachPanel(set, text, parameters, table.table, request.globalDllPath, request.limits,
                         [&](int depth, std::size_t states, int reached, int sounds) {
                           progress.update(depth, states, reached, sounds);
                         });
    }
    if (!request.outFolder.empty()) writeWays(request, reach);
    const std::string printed = request.json
                                    ? reachJson(reach.verdicts, reach.search).dump(2) + "\n"
                                    : reachText(reach.verdicts, reach.search);
    std::fputs(printed.c_str(), out);
    const bool all = std::all_of(reach.verdicts.sounds.begin(), reach.verdicts.sounds.end(),
                                 [](const SoundVerdict& v) { return v.reached; });
    return all ? kExitHeld : kExitAmiss;
  } catch (const std::exception& e) {
    std::fflush(out);
    std::fprintf(errors, "%s\n", e.what());
    return kExitErrors;
  }
}

}  // namespace vorlanex::tool
