// The console's memory over a long session: 8 hours at 18 frames a second,
// a sound's variable and the volume played written in every frame, an event
// sent every second and a step from the page every minute. What is driven is
// the console's recording after each frame, as its frame loop does it: the
// run's record gains the frame's writes, the session takes them (timeline,
// page parts, script), and the record lets go of what is older than the
// minutes kept. The module and the sound device are left out: they hold no
// more for a longer session.
//
// Memory is counted by replacing operator new and delete: the peak of the
// bytes held, above what was held before the session was made. Target: below
// 64 MB. The script's size shows it kept every step.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <new>
#include <string>

#include "console_session.h"
#include "recorded_script.h"

namespace {

std::atomic<std::size_t> heldBytes{0};
std::atomic<std::size_t> peakBytes{0};

// Each block carries its size in front of it, for delete.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* counted(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  std::memcpy(block, &size, sizeof size);
  const std::size_t held = heldBytes += size;
  std::size_t peak = peakBytes.load();
  while (held > peak && !peakBytes.compare_exchange_weak(peak, held)) {
  }
  return block + kHeader;
}

void uncounted(void* pointer) noexcept {
  if (!pointer) return;
  unsigned char* block = static_cast<unsigned char*>(pointer) - kHeader;
  std::size_t size;
  std::memcpy(&size, block, sizeof size);
  heldBytes -= size;
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* pointer) noexcept { uncounted(pointer); }
void operator delete[](void* pointer) noexcept { uncounted(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { uncounted(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { uncounted(pointer); }

namespace {

using namespace vorlanex::tool;

constexpr double kFramesPerSecond = 18.0;
constexpr double kKeptSeconds = 10 * 60.0;  // the console's default

vorlanex::SoundTable tableOfOne() {
  vorlanex::SoundTable table{};
  table.soundCount = 1;
  std::strcpy(table.slots[0].varName, "cabin_fan");
  std::strcpy(table.slots[1].varName, "zeb_stop_all");
  return table;
}

void BM_ConsoleSessionOfEightHours(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0) * 3600 * kFramesPerSecond);
  for (auto _ : state) {
    const std::size_t before = heldBytes.load();
    peakBytes = before;
    std::size_t scriptBytes = 0;
    {
      ConsoleSession session(
          PanelFacts{"./Gauges/cabin.ini", "zeb_stop_all",
                     {{"cabin_fan", "./Sound/fan.wav", 80, "", {}, false, true}}, {}},
          tableOfOne(), true, "vorlanex-panel run ./Gauges/cabin.ini THIS_FILE");
      vorlanex::host::NamedVariables variables;
      const std::int32_t fan = variables.registerName("cabin_fan");
      std::deque<Step> steps;  // the record's events point into it
      RunRecord record{kFramesPerSecond, 0, {}, {}};
      const Writer gauge{Writer::Kind::kGauge, {"Cabin!fan_switch", "fan.xml", 12, "1 (>L:cabin_fan)"}};
      for (int frame = 0; frame < frames; ++frame) {
        const double time = frame / kFramesPerSecond;
        if (frame % static_cast<int>(60 * kFramesPerSecond) == 0) {
          Step& step = steps.emplace_back(variableStep(Action::kSet, "cabin_fan", 0));
          record.events.push_back({frame, time, &step});
        }
        if (frame % static_cast<int>(kFramesPerSecond) == 0) {
          record.sentEvents.push_back({frame, time, "TOGGLE_MASTER_BATTERY", 0, gauge});
        }
        // A loop started and stopped in turn, and the volume it played at.
        const double command = frame % 2 == 0 ? 2 : 0;
        record.writes.push_back({frame, time, "cabin_fan", 2 - command, command, "", gauge});
        variables.set(fan, command);
        record.writes.push_back(
            {frame, time, "zeb_volume_played", 0, 80.0 + frame % 20, "cabin_fan"});
        record.frames = frame + 1;
        session.frameDone(record, variables);
        record.forgetBefore(record.frames / kFramesPerSecond - kKeptSeconds);
      }
      benchmark::DoNotOptimize(session.stateAfter(-1, std::chrono::milliseconds(0)));
      const std::string script = session.script();
      scriptBytes = script.size();
      state.counters["steps"] = static_cast<double>(record.events.size());
      state.counters["writes_kept"] = static_cast<double>(record.writes.size());
    }
    state.counters["peak_MB"] = static_cast<double>(peakBytes.load() - before) / (1 << 20);
    state.counters["script_kB"] = static_cast<double>(scriptBytes) / 1024;
    state.counters["frames"] = frames;
  }
}
BENCHMARK(BM_ConsoleSessionOfEightHours)->Arg(8)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
