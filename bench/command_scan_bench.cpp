// One pre-update of a panel with 100 sounds, through the native panel host
// and the real module file, beside the host's own share of that frame: a loop
// making the same 100 look-ups and reads through the same panel functions.
// Targets: a scan of idle sounds, loaded or not, within 1.1x of the host calls
// alone; a scan of looping sounds within 1.05x of the host's calls together
// with the sound device's answer to whether each sound plays, which is asked
// of every sound the module started: the least a frame of playing sounds can
// cost. Also measured: the protocol's extra calls of every frame (the
// stop-all variable, the indicator). Ratios are printed after the table; for
// steadier figures on a busy machine:
//   build/native/bin/command_scan_bench --benchmark_repetitions=10
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "module_library.h"
#include "panel_host.h"
#include "simulator_sound.h"
#include "vorlanex_engine/engine_control.h"
#include "wave_bytes.h"

namespace {

namespace fs = std::filesystem;
using namespace vorlanex;

constexpr int kSounds = 100;

// The sound variables' names as the module holds them: fixed text buffers.
struct SoundNames {
  char names[kSounds][16];
  SoundNames() {
    for (int i = 0; i < kSounds; ++i)
      std::snprintf(names[i], sizeof names[i], "zeb_xml_id_%02d", i);
  }
};
const SoundNames kNames;

// A panel of 100 sounds (short WAV files at their default paths) set up in a
// folder of its own, every sound variable holding `value` for two frames
// before the measurement starts.
class Panel {
 public:
  explicit Panel(double value) : previous_(fs::current_path()) {
    root_ = fs::temp_directory_path() / ("vorlanex-scan-bench-" + std::to_string(::getpid()));
    fs::create_directories(root_ / "Gauges");
    fs::create_directories(root_ / "Sound" / "zeb");
    fs::current_path(root_);
    std::ofstream("Gauges/zeb_xml_sound.ini") << "[Config]\nMaxSounds=100\n";
    using namespace wavebytes;
    const std::string sound = wave(formatFields(1, 1, 11025, 16), samplePattern(4410));
    for (int i = 0; i < kSounds; ++i) {
      std::ofstream("Sound/zeb/zeb_xml_" + std::string(kNames.names[i] + 11) + ".wav",
                    std::ios::binary)
          << sound;
    }
    simulator_ = std::make_unique<host::SimulatorSound>(VORLANEX_GLOBAL_DLL_FILE);
    module_ = std::make_unique<host::ModuleLibrary>(VORLANEX_MODULE_FILE);
    host_ = std::make_unique<host::PanelHost>(module_->exports());
    host_->setRecording(false);
    host_->install();
    setAll(value);
    host_->runFrames(2);
  }
  ~Panel() {
    host_->disconnect();
    host_.reset();
    module_.reset();
    simulator_.reset();
    fs::current_path(previous_);
    fs::remove_all(root_);
  }

  void setAll(double value) {
    for (const auto& name : kNames.names)
      host_->variables().set(host_->variables().lookup(name), value);
  }
  host::PanelHost& host() { return *host_; }
  const abi::HostPanels& panels() const { return *module_->exports().importTable->panels; }

 private:
  fs::path previous_;
  fs::path root_;
  std::unique_ptr<host::SimulatorSound> simulator_;
  std::unique_ptr<host::ModuleLibrary> module_;
  std::unique_ptr<host::PanelHost> host_;
};

void scan(benchmark::State& state, Panel& panel) {
  for (auto _ : state) panel.host().service(abi::kPreUpdate);
  state.counters["ns_per_sound"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kSounds,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Never asked for: every sound costs its look-up, its read and the decoding.
void ScanIdle(benchmark::State& state) {
  Panel panel(0);
  scan(state, panel);
}

// Played once and stopped: loaded, but known to be stopped, so the device is
// not asked.
void ScanIdleLoaded(benchmark::State& state) {
  Panel panel(1);
  panel.setAll(0);
  panel.host().runFrames(1);
  scan(state, panel);
}

// Every sound looping: each asks its buffer, which plays on.
void ScanLooping(benchmark::State& state) {
  Panel panel(2);
  scan(state, panel);
}

// What the host spends on the frame's 100 look-ups and reads, called the
// way the module calls them: through the panel function table.
void HostCallsAlone(benchmark::State& state) {
  Panel panel(0);
  const auto lookup =
      reinterpret_cast<abi::VariableByName>(panel.panels().entries[abi::kLookupNamedVariable]);
  const auto get =
      reinterpret_cast<abi::GetVariableValue>(panel.panels().entries[abi::kGetNamedVariableValue]);
  for (auto _ : state) {
    for (const auto& name : kNames.names) benchmark::DoNotOptimize(get(lookup(name)));
  }
  state.counters["ns_per_sound"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kSounds,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The same, with the protocol's extra calls of every frame: the stop-all
// variable looked up and read, the indicator looked up and written.
void HostCallsWithGlobalControls(benchmark::State& state) {
  Panel panel(0);
  const auto lookup =
      reinterpret_cast<abi::VariableByName>(panel.panels().entries[abi::kLookupNamedVariable]);
  const auto get =
      reinterpret_cast<abi::GetVariableValue>(panel.panels().entries[abi::kGetNamedVariableValue]);
  const auto set =
      reinterpret_cast<abi::SetVariableValue>(panel.panels().entries[abi::kSetNamedVariableValue]);
  for (auto _ : state) {
    for (const auto& name : kNames.names) benchmark::DoNotOptimize(get(lookup(name)));
    benchmark::DoNotOptimize(get(lookup("zeb_stop_sounds")));
    set(lookup("zeb_sound_indicator"), 1);
  }
}

// The sound device's share of a frame in which every sound is loaded: the
// protocol asks each sound's buffer whether it plays (GetStatus), and with
// the host's calls this is the least such a frame can cost.
void HostAndDeviceCallsAlone(benchmark::State& state) {
  Panel panel(2);
  const auto lookup =
      reinterpret_cast<abi::VariableByName>(panel.panels().entries[abi::kLookupNamedVariable]);
  const auto get =
      reinterpret_cast<abi::GetVariableValue>(panel.panels().entries[abi::kGetNamedVariableValue]);
  IDirectSoundBuffer* buffers[kSounds] = {};
  const std::vector<engine::BufferView> live = engine::buffers();
  if (live.size() != kSounds) return state.SkipWithError("the sounds were not loaded");
  for (int i = 0; i < kSounds; ++i) buffers[i] = live[static_cast<std::size_t>(i)].buffer;
  for (auto _ : state) {
    for (int i = 0; i < kSounds; ++i) {
      benchmark::DoNotOptimize(get(lookup(kNames.names[i])));
      DWORD status = 0;
      buffers[i]->GetStatus(&status);
      benchmark::DoNotOptimize(status);
    }
  }
}

BENCHMARK(HostCallsAlone);
BENCHMARK(HostAndDeviceCallsAlone);
BENCHMARK(HostCallsWithGlobalControls);
BENCHMARK(ScanIdle);
BENCHMARK(ScanIdleLoaded);
BENCHMARK(ScanLooping);

// Prints the table as usual and keeps each benchmark's CPU time per frame
// for the ratios: the median when runs are repeated, else the one run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians_[name] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        single_[name] = run.GetAdjustedCPUTime();
      }
    }
  }
  // Nanoseconds, as every benchmark here reports them.
  std::map<std::string, double> times() const {
    std::map<std::string, double> chosen = single_;
    for (const auto& [name, time] : medians_) chosen[name] = time;
    return chosen;
  }

 private:
  std::map<std::string, double> medians_;
  std::map<std::string, double> single_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::map<std::string, double> ns = reporter.times();
  const auto alone = ns.find("HostCallsAlone");
  if (alone != ns.end()) {
    std::printf(
        "\nCPU time per frame against HostCallsAlone (%.0f ns); target for idle scans: 1.1x\n",
        alone->second);
    for (const auto& [name, time] : ns) {
      if (name != alone->first)
        std::printf("  %-28s %7.0f ns  %.2fx\n", name.c_str(), time, time / alone->second);
    }
  }
  const auto device = ns.find("HostAndDeviceCallsAlone");
  const auto looping = ns.find("ScanLooping");
  if (device != ns.end() && looping != ns.end()) {
    std::printf("ScanLooping against HostAndDeviceCallsAlone: %.2fx; target 1.05x\n",
                looping->second / device->second);
  }
  benchmark::Shutdown();
  return 0;
}
