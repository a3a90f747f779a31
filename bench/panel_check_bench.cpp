// `vorlanex-panel check --panel` on a large panel: 200 XML gauges of about
// 3 KB each, 100 in folders and 100 packed by gcab into three cabinet files
// (MSZIP), driving an INI file of 100 sounds. Target: the whole check, text
// report included, under half a second. The WAV files are left out: the
// check benchmark beside this one measures them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "check.h"
#include "check_report.h"

namespace {

namespace fs = std::filesystem;
using namespace vorlanex::tool;

constexpr int kGauges = 200;
constexpr int kCabinets = 3;
constexpr int kSounds = 100;

std::string soundVariable(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "bench_sound_%02d", i % kSounds);
  return name;
}

// A gauge of a few KB: lights reading its sound, a switch writing it with a
// pan, a macro, and the kind of bitmap and tooltip elements real gauges carry.
std::string gaugeXml(int i) {
  const std::string sound = soundVariable(i);
  std::string xml = "<Gauge Name=\"bench_" + std::to_string(i) + "\" Version=\"1.0\">\n";
  xml += "  <Macro Name=\"Play\">" + std::to_string(i * 100 + 1) + " (&gt;L:" + sound +
         ", number)</Macro>\n  <Image Name=\"background.bmp\" ImageSizes=\"60,60\"/>\n";
  for (int element = 0; element < 12; ++element) {
    xml += "  <Element>\n    <Position X=\"" + std::to_string(element * 5) +
           "\" Y=\"10\"/>\n    <Select>\n      <Value>(L:" + sound +
           ", number) 1 == (L:bench_power, bool) and (A:ELECTRICAL MASTER BATTERY, bool) "
           "and</Value>\n      <Case Value=\"0\"><Image Name=\"off.bmp\"/></Case>\n      "
           "<Case Value=\"1\"><Image Name=\"on.bmp\"/></Case>\n    </Select>\n  </Element>\n";
  }
  xml += "  <Mouse>\n    <Tooltip>Switch " + std::to_string(i) +
         "</Tooltip>\n    <Area Left=\"0\" Top=\"0\" Width=\"60\" Height=\"60\">\n      "
         "<Cursor Type=\"Hand\"/>\n      <Click>(L:bench_power, bool) if{ @Play } els{ 0 (&gt;L:" +
         sound + ", number) } 1 (&gt;L:bench_stop, number)</Click>\n    </Area>\n  </Mouse>\n";
  return xml + "</Gauge>\n";
}

void write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The panel, made once and entered: gauges 0, 2, 4... in the folder Folder of
// the panel's folder, the others in Cab0.cab to Cab2.cab in Gauges.
void enterPanel() {
  static fs::path folder;
  if (!folder.empty()) return;
  folder = fs::temp_directory_path() / ("vorlanex-panel-bench-" + std::to_string(::getpid()));
  std::string ini = "[Config]\nMaxSounds=100\nErrorFlag=0\nLvarStop=bench_stop\n[LVars]\n";
  for (int i = 0; i < kSounds; ++i) ini += "Lvar" + std::to_string(100 + i).substr(1) + "=" + soundVariable(i) + "\n";
  write(folder / "Gauges" / "bench.ini", ini);
  write(folder / "Gauges" / "Vorlanex_sound.gau", "MZ");
  std::string cfg = "[Window00]\ngauge00=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/bench.ini\n";
  std::string cabinets[kCabinets];
  for (int i = 0; i < kGauges; ++i) {
    const std::string name = "bench_" + std::to_string(i);
    if (i % 2 == 0) {
      write(folder / "Aircraft" / "Bench" / "panel" / "Folder" / (name + ".xml"), gaugeXml(i));
      cfg += "gauge" + std::to_string(i + 1) + "=Folder!" + name + ", 0,0\n";
    } else {
      const std::string cabinet = "Cab" + std::to_string(i % kCabinets);
      write(folder / "cabinet_sources" / cabinet / (name + ".xml"), gaugeXml(i));
      cfg += "gauge" + std::to_string(i + 1) + "=" + cabinet + "!" + name + ", 0,0\n";
    }
  }
  write(folder / "Aircraft" / "Bench" / "panel" / "panel.cfg", cfg);
  for (int c = 0; c < kCabinets; ++c) {
    const std::string cabinet = "Cab" + std::to_string(c);
    const std::string command = "gcab -c -n -z '" + (folder / "Gauges" / (cabinet + ".cab")).string() +
                                "' '" + (folder / "cabinet_sources" / cabinet).string() + "'/*.xml";
    if (std::system(command.c_str()) != 0) std::abort();
  }
  fs::current_path(folder);
  std::atexit([] {
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
  });
}

void CheckWholePanel(benchmark::State& state) {
  enterPanel();
  std::size_t problems = 0;
  std::size_t gauges = 0;
  for (auto _ : state) {
    const CheckResult result =
        runCheck({std::nullopt, "Aircraft/Bench/panel/panel.cfg", false});
    const std::string text = checkText(result);
    problems = result.problems.size();
    gauges = result.panel ? result.panel->gauges.uses.size() : 0;
    benchmark::DoNotOptimize(text.data());
  }
  if (problems != 0) state.SkipWithError("the bench panel has problems");
  state.counters["xml_gauges"] = kGauges;
  state.counters["variable_uses"] = static_cast<double>(gauges);
}

BENCHMARK(CheckWholePanel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
