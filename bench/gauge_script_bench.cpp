// The gauge-script library on a panel of 200 XML gauges (about 2,000
// scripts), against the same logic in Lua 5.4. Targets: a frame of ours in
// at most 0.6 of Lua's frame's time, and the whole panel compiled (every gauge
// read and its scripts compiled) in 50 ms; the simulator's frame is 55 ms.
//
// Before the benchmarks run, both sides run the same frames from the same
// inputs, and their L: variables must end equal, read and written as many
// times: the Lua is the same logic, not a lighter one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "display_list.h"
#include "bitmap_bytes.h"
#include "gauge_bench_panel.h"
#include "gauge_panel.h"
#include "lua_gauges.h"

namespace {

using namespace vorlanex;
using vorlanex::bench::BenchInputs;
using vorlanex::bench::BenchPanel;
using vorlanex::bench::LuaGauges;

constexpr double kFrameSeconds = 1.0 / 18;

constexpr int kPanelGauges = 200;

const BenchPanel& benchPanel(int count = kPanelGauges) {
  static std::map<int, BenchPanel> panels;
  auto found = panels.find(count);
  if (found == panels.end()) found = panels.emplace(count, bench::makeBenchPanel(count)).first;
  return found->second;
}

// Time per gauge, beside the frame's: a panel of 20 gauges keeps its
// programs in the nearer caches, 200 do not.
void countGauges(benchmark::State& state, int count) {
  state.counters["per_gauge"] = benchmark::Counter(
      count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The panel's variables, counting the calls a frame makes.
class CountedVariables : public gauges::LocalVariables {
 public:
  double get(int id) const override {
    ++reads;
    return LocalVariables::get(id);
  }
  void set(int id, double value, const gauges::ScriptSite& writer) override {
    ++writes;
    LocalVariables::set(id, value, writer);
  }
  mutable long reads = 0;
  long writes = 0;
};

// Runs both sides over frames that move every input; false, with the first
// difference told, when they disagree.
bool sidesAgree(int frames) {
  const BenchPanel& panel = benchPanel();
  CountedVariables oursShared, luaShared;
  gauges::SimulatedAircraft oursAircraft, luaAircraft;
  gauges::GaugePanel ours(panel.windows, panel.gauges, oursShared, oursAircraft);
  LuaGauges lua(panel.lua, luaShared, luaAircraft);
  BenchInputs oursInputs(oursShared, oursAircraft, kPanelGauges);
  BenchInputs luaInputs(luaShared, luaAircraft, kPanelGauges);
  oursShared.reads = oursShared.writes = luaShared.reads = luaShared.writes = 0;
  for (int frame = 0; frame < frames; ++frame) {
    oursInputs.apply(frame);
    ours.runFrame(kFrameSeconds);
    luaInputs.apply(frame);
    lua.runFrame(kFrameSeconds);
  }
  for (const gauges::Finding& finding : ours.findings().all()) {
    std::fprintf(stderr, "finding: %s:%d: %s (%s)\n", finding.site.file.c_str(),
                 finding.site.line, finding.message.c_str(), finding.site.excerpt.c_str());
  }
  bool agree = true;
  for (const std::string& name : panel.variables) {
    const double a = oursShared.valueOf(name), b = luaShared.valueOf(name);
    if (a != b) {
      std::fprintf(stderr, "L:%s is %g in the gauges, %g in Lua\n", name.c_str(), a, b);
      agree = false;
      break;
    }
  }
  std::fprintf(stderr, "%d frames: L: reads %ld (gauges) / %ld (Lua), writes %ld / %ld\n", frames,
               oursShared.reads, luaShared.reads, oursShared.writes, luaShared.writes);
  return agree && oursShared.reads == luaShared.reads && oursShared.writes == luaShared.writes;
}

// The bench panel of `count` gauges compiled, with its inputs.
struct CompiledBenchPanel {
  explicit CompiledBenchPanel(int count)
      : panel(benchPanel(count).windows, benchPanel(count).gauges, shared, aircraft),
        inputs(shared, aircraft, count) {}

  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  gauges::GaugePanel panel;
  BenchInputs inputs;
};

void GaugePanelFrame(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  CompiledBenchPanel bench(count);
  int frame = 0;
  for (auto _ : state) {
    bench.inputs.apply(frame++);
    bench.panel.runFrame(kFrameSeconds);
  }
  countGauges(state, count);
}
BENCHMARK(GaugePanelFrame)->Arg(kPanelGauges)->Arg(20)->Unit(benchmark::kMicrosecond);

// What every window of the panel shows after a frame: the display lists
// alone, the frame run once before. Target: 1 ms for 200 gauges.
void DisplayListFrame(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  CompiledBenchPanel bench(count);
  bench.inputs.apply(0);
  bench.panel.runFrame(kFrameSeconds);
  // A 2×2 grey bitmap: every image the bench gauges name.
  const std::string bitmap = bitmapbytes::bitmap(2, 2, false, [](int, int) { return 0x808080u; });
  gauges::GaugeImages images([&](int, const std::string&) { return std::optional<std::string>(bitmap); });
  gauges::DelayedMotion motion;
  size_t items = 0;
  for (auto _ : state) {
    items = 0;
    for (int w = 0; w < static_cast<int>(bench.panel.windows().size()); ++w) {
      items += gauges::displayWindow(bench.panel, w, images, motion, bench.aircraft.time()).items.size();
    }
    benchmark::DoNotOptimize(items);
  }
  state.counters["items"] = static_cast<double>(items);
  countGauges(state, count);
}
BENCHMARK(DisplayListFrame)->Arg(kPanelGauges)->Unit(benchmark::kMicrosecond);

void LuaFrame(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const BenchPanel& panel = benchPanel(count);
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  LuaGauges lua(panel.lua, shared, aircraft);
  BenchInputs inputs(shared, aircraft, count);
  int frame = 0;
  for (auto _ : state) {
    inputs.apply(frame++);
    lua.runFrame(kFrameSeconds);
  }
  countGauges(state, count);
}
BENCHMARK(LuaFrame)->Arg(kPanelGauges)->Arg(20)->Unit(benchmark::kMicrosecond);

// What the inputs alone cost, inside both frames' figures.
void FrameInputs(benchmark::State& state) {
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  BenchInputs inputs(shared, aircraft, kPanelGauges);
  int frame = 0;
  for (auto _ : state) {
    inputs.apply(frame++);
    aircraft.advance(kFrameSeconds);
  }
}
BENCHMARK(FrameInputs)->Unit(benchmark::kMicrosecond);

// The panel made from the gauges' texts: every file read into its model and
// every script compiled, as `run --panel` does at start.
void GaugePanelCompile(benchmark::State& state) {
  const BenchPanel& panel = benchPanel();
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  for (auto _ : state) {
    state.PauseTiming();
    auto windows = panel.windows;
    auto lines = panel.gauges;
    state.ResumeTiming();
    gauges::GaugePanel gaugePanel(std::move(windows), std::move(lines), shared, aircraft);
    benchmark::DoNotOptimize(gaugePanel);
  }
  state.counters["scripts"] = panel.scripts;
}
BENCHMARK(GaugePanelCompile)->Unit(benchmark::kMillisecond);

// Lua's load of the same logic, for scale: a state, the chunk compiled and
// every gauge's handles bound.
void LuaLoad(benchmark::State& state) {
  const BenchPanel& panel = benchPanel();
  gauges::LocalVariables shared;
  gauges::SimulatedAircraft aircraft;
  for (auto _ : state) {
    LuaGauges lua(panel.lua, shared, aircraft);
    benchmark::DoNotOptimize(lua);
  }
}
BENCHMARK(LuaLoad)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (!sidesAgree(4000)) {
    std::fprintf(stderr, "the gauges and the Lua disagree: the comparison would be unfair\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
