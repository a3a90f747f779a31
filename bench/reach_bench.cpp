// `vorlanex-panel reach`: the search for every sound's way through a panel's
// own gauges.
// - On the example aircraft: every sound reached. Target: 2 s.
// - On the 200-gauge bench panel (gauge_bench_panel.h) with 20 of its
//   command variables as the module's sounds: the states told apart per
//   second, and the time until the last of its sounds is reached
//   (last_reached_s). Target: 20 states a second, and every sound reached
//   within the default budget of 60 s.
// - The frames the search runs per second, replays included, beside the
//   figure of gauge_script_bench's GaugePanelFrame (the gauges alone): the
//   search's frames also run the module and restore states by replaying
//   their way on a panel compiled afresh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "gauge_bench_panel.h"
#include "module_table.h"
#include "panel_cfg.h"
#include "panel_gauges.h"
#include "reach_panel.h"
#include "text_encoding.h"
#include "wave_bytes.h"
#include "whole_file.h"

namespace {

namespace fs = std::filesystem;
using namespace vorlanex;
using namespace vorlanex::tool;

constexpr int kBenchSounds = 20;

void report(benchmark::State& state, const SearchResult& search, int reached) {
  state.counters["sounds_reached"] = reached;
  state.counters["states"] = static_cast<double>(search.states);
  state.counters["moves_made"] = static_cast<double>(search.explored);
  state.counters["states_per_s"] = static_cast<double>(search.states) / search.seconds;
  state.counters["frames_per_s"] = static_cast<double>(search.frames) / search.seconds;
  state.counters["search_s"] = search.seconds;
  state.counters["last_reached_s"] = search.lastReachedAt;
}

int reachedCount(const PanelReach& reach) {
  int reached = 0;
  for (const SoundVerdict& v : reach.verdicts.sounds) reached += v.reached ? 1 : 0;
  return reached;
}

void ReachExample(benchmark::State& state) {
  const fs::path root = VORLANEX_EXAMPLE_PANEL;
  const std::string cfg = "Aircraft/Cabin/panel/panel.cfg";
  if (!fs::exists(root / cfg)) {
    state.SkipWithError("no example panel: run ctest -R example_panel first");
    return;
  }
  fs::current_path(root);
  const std::string text = decodedTextOf(*readWholeFile(cfg), cfg);
  const PanelGaugeSet set = panelGaugeSet(text, findPanelGauges(cfg, cfg, text));
  const std::string parameters = moduleParameters(text);
  const ModuleTable table = readModuleTable(parameters);
  PanelReach reach;
  for (auto _ : state) {
    reach = reachPanel(set, text, parameters, table.table, "", SearchLimits{});
  }
  report(state, reach.search, reachedCount(reach));
}
BENCHMARK(ReachExample)->Unit(benchmark::kMillisecond)->Iterations(3);

// Whether a gauge of the panel writes the variable.
bool written(const bench::BenchPanel& panel, const std::string& name) {
  const std::string write = "(&gt;L:" + name + ",";
  for (const gauges::PanelGaugeLine& gauge : panel.gauges) {
    if (gauge.text && gauge.text->find(write) != std::string::npos) return true;
  }
  return false;
}

// The first command and loop variables the bench panel's gauges write as
// the module's sounds, each playing a short WAV file written into a folder
// entered for the module's relative paths.
SoundTable benchSounds(const bench::BenchPanel& panel, std::string& parameters) {
  const fs::path folder = fs::temp_directory_path() / ("vorlanex-reach-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder / "Gauges");
  fs::create_directories(folder / "Sound");
  const std::string samples(4410, '\x80');
  std::ofstream(folder / "Sound" / "click.wav", std::ios::binary)
      << wavebytes::riff("WAVE", wavebytes::chunk("fmt ", wavebytes::formatFields(1, 1, 22050, 8)) +
                                     wavebytes::chunk("data", samples));
  std::string ini = "[Config]\nMaxSounds=" + std::to_string(kBenchSounds) + "\nLvarStop=bench_quiet\n[Sounds]\n";
  std::string lvars = "[LVars]\n";
  int n = 0;
  for (const std::string& name : panel.variables) {
    if (n == kBenchSounds) break;
    if (name.find("_cmd") == std::string::npos && name.find("_loop") == std::string::npos) continue;
    if (!written(panel, name)) continue;
    char key[16];
    std::snprintf(key, sizeof key, "%02d", n++);
    ini += std::string("Sound") + key + "=./Sound/click.wav\n";
    lvars += std::string("Lvar") + key + "=" + name + "\n";
  }
  std::ofstream(folder / "Gauges" / "bench.ini") << ini << lvars;
  fs::current_path(folder);
  parameters = "./Gauges/bench.ini";
  return readModuleTable(parameters).table;
}

void ReachBenchPanel(benchmark::State& state) {
  const bench::BenchPanel panel = bench::makeBenchPanel(200);
  std::string parameters;
  const SoundTable table = benchSounds(panel, parameters);
  ReachSetup setup{{panel.windows, panel.gauges, panel.gauges.size()}, parameters, "", table,
                   host::PanelHost::kDefaultFrameRate};
  gauges::PanelGaugeLine module;
  module.section = panel.windows.front().section;
  module.name = "Vorlanex_sound!sound";
  module.line = 1;
  setup.panel.gauges.push_back(module);
  const std::vector<bool> everyWindow(panel.windows.size(), true);
  SearchLimits limits;
  limits.seconds = static_cast<double>(state.range(0));
  SearchResult search;
  for (auto _ : state) search = searchPanel(setup, everyWindow, limits);
  int reached = 0;
  for (const SoundSeen& s : search.sounds) reached += s.reached ? 1 : 0;
  report(state, search, reached);
  state.counters["sounds"] = kBenchSounds;
  state.counters["moves"] = static_cast<double>(search.moves.size());
  state.counters["depth"] = search.depth;
}
BENCHMARK(ReachBenchPanel)->Arg(60)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
