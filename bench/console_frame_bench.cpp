// A console frame as the tool plays it: the page's click queued, the steps
// taken, the module's pre-update through the panel host, the page's state
// made after the frame, and the page's poll answered. A click comes in every
// frame (a sound looped, then stopped, in turn), so the timeline and the
// recorded script grow every frame. Target: a frame after 10^5 such frames
// costs within 1.2x of the first frames'. Ratios are printed after the table.
// The sound engine runs on its virtual clock with no sink, so no frame waits
// for real time.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "check.h"
#include "console_session.h"
#include "module/gauge_records.h"
#include "device_clock.h"
#include "script_runner.h"
#include "wave_bytes.h"

namespace {

namespace fs = std::filesystem;
using namespace vorlanex::tool;

constexpr int kSounds = 4;
constexpr double kFramesPerSecond = 1000.0;

// A panel of four short sounds in a folder of its own, entered for the run.
class PanelFolder {
 public:
  PanelFolder() : previous_(fs::current_path()) {
    root_ = fs::temp_directory_path() / ("vorlanex-console-bench-" + std::to_string(::getpid()));
    fs::create_directories(root_ / "Gauges");
    fs::create_directories(root_ / "Sound");
    fs::current_path(root_);
    using namespace vorlanex::wavebytes;
    const std::string sound = wave(formatFields(1, 1, 22050, 16), samplePattern(8820));
    std::string ini = "[Config]\nMaxSounds=4\n[Sounds]\n";
    std::string vars = "[LVars]\n";
    for (int i = 0; i < kSounds; ++i) {
      const std::string n = std::to_string(i);
      std::ofstream("Sound/sound_" + n + ".wav", std::ios::binary) << sound;
      ini += "Sound0" + n + "=./Sound/sound_" + n + ".wav,80\n";
      vars += "Lvar0" + n + "=bench_sound_" + n + "\n";
    }
    std::ofstream("Gauges/bench.ini", std::ios::binary) << ini << vars;
  }
  ~PanelFolder() {
    fs::current_path(previous_);
    fs::remove_all(root_);
  }

 private:
  fs::path previous_;
  fs::path root_;
};

// The console's frame loop without its server and its real-time wait.
class Console {
 public:
  Console()
      : checked_(runCheck({"./Gauges/bench.ini", "", true})),
        session_(panelFacts(checked_), checked_.module.table, true,
                 "vorlanex-panel run ./Gauges/bench.ini THIS_FILE"),
        audio_(AudioRequest{}),
        runner_({&Linkage, &ImportTable},
                {kFramesPerSecond, "./Gauges/bench.ini", VORLANEX_GLOBAL_DLL_FILE}) {
    runner_.setFrameAdvance([&](int, double seconds) {
      session_.frameDone(runner_.record(), runner_.host().variables());
      audio_.frameDone(seconds);
    });
  }
  ~Console() { runner_.host().disconnect(); }

  void playFrame() {
    session_.act(frame_ % 2 == 0 ? R"({"do":"set","sound":0,"value":2})"
                                 : R"({"do":"set","sound":0,"value":0})");
    Script due = session_.takeSteps();
    runner_.playFrame(steps_.emplace_back(std::move(due)), frame_);
    // The page's poll, answered at once: the frame is done.
    const std::string state = session_.stateAfter(frame_ - 1, std::chrono::milliseconds(0));
    benchmark::DoNotOptimize(state.data());
    ++frame_;
  }
  int frame() const { return frame_; }
  std::size_t writes() const { return runner_.record().writes.size(); }

 private:
  CheckResult checked_;
  ConsoleSession session_;
  DeviceClock audio_;
  ScriptRunner runner_;
  std::deque<Script> steps_;  // the record points at them
  int frame_ = 0;
};

// range(0): the frames played before the measured ones (frame 0 installs
// the panel, so at least 1).
void ConsoleFrame(benchmark::State& state) {
  PanelFolder folder;
  Console console;
  while (console.frame() < state.range(0)) console.playFrame();
  for (auto _ : state) console.playFrame();
  state.counters["frames_before"] = static_cast<double>(state.range(0));
  state.counters["writes"] = static_cast<double>(console.writes());
}

// Each repetition starts a console of its own, so the first frames are
// measured again; the medians are compared.
BENCHMARK(ConsoleFrame)
    ->Arg(1)
    ->Arg(100000)
    ->Iterations(5000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// Prints the table as usual, then the median time per frame after 10^5
// frames against the first frames'.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times_[run.counters.at("frames_before")] = run.GetAdjustedCPUTime();
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (times_.empty()) return;
    const double first = times_.begin()->second;
    for (const auto& [before, time] : times_) {
      std::printf(
          "after %6.0f frames: %5.1f us a frame (median), %.2fx the first frames'; "
          "target 1.2x\n",
          before, time, time / first);
    }
  }

 private:
  std::map<double, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
