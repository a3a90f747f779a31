// `vorlanex-panel check` on a full panel: 100 sounds, each with a WAV file of
// a few MB (16-bit stereo at 44.1 kHz), written at start into a folder that
// stands for the simulator's root. Target: the whole check, text report
// included, under a second. The files were just written, so they are read
// from the page cache, as on an author's second check.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "check.h"
#include "check_report.h"
#include "wave_bytes.h"

namespace {

namespace fs = std::filesystem;
using namespace vorlanex::tool;

constexpr int kSounds = 100;
constexpr std::size_t kMiB = 1 << 20;

// The panel with `megabytes` of samples per sound, made once and entered:
// the check reads relative paths, as the module does.
void enterPanel(std::size_t megabytes) {
  static fs::path folder;
  if (!folder.empty()) return;
  folder = fs::temp_directory_path() / ("vorlanex-check-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder / "Gauges");
  fs::create_directories(folder / "Sound" / "Bench");
  std::string ini = "[Config]\nMaxSounds=100\nErrorFlag=-1\n[Sounds]\n";
  std::string vars = "[LVars]\n";
  using namespace vorlanex::wavebytes;
  const std::string bytes =
      wave(formatFields(1, 2, 44100, 16), samplePattern(megabytes * kMiB));
  for (int i = 0; i < kSounds; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "./Sound/Bench/sound_%02d.wav", i);
    std::ofstream(folder / name, std::ios::binary) << bytes;
    char line[160];
    std::snprintf(line, sizeof line, "Sound%02d=%s,%d\n", i, name, 50 + i / 2);
    ini += line;
    std::snprintf(line, sizeof line, "Lvar%02d=bench_sound_%02d\n", i, i);
    vars += line;
  }
  std::ofstream(folder / "Gauges" / "bench.ini", std::ios::binary) << ini << vars;
  fs::current_path(folder);
  std::atexit([] {
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
  });
}

void check(benchmark::State& state, bool soundFiles) {
  enterPanel(static_cast<std::size_t>(state.range(0)));
  std::size_t problems = 0;
  std::size_t reportBytes = 0;
  for (auto _ : state) {
    const CheckResult result = runCheck({"./Gauges/bench.ini", "", soundFiles});
    const std::string text = checkText(result);
    problems = result.problems.size();
    reportBytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  if (problems != 0) state.SkipWithError("the bench panel has problems");
  state.counters["sounds"] = kSounds;
  state.counters["report_bytes"] = static_cast<double>(reportBytes);
}

// INI file, slot table, and each WAV file through the module's reader and a
// buffer asked of the sound device: what an author runs.
void CheckPanel(benchmark::State& state) { check(state, true); }

// The INI file and slot table alone, to show what the WAV files cost.
void CheckPanelIniOnly(benchmark::State& state) { check(state, false); }

BENCHMARK(CheckPanel)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckPanelIniOnly)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
