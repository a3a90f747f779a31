// What a frame costs beyond the work itself. It allocates nothing: a panel
// of 100 loaded sounds is driven through every command, stop-all and the
// simulator's sound switch while every operator new in the process is counted
// and the module's own heap is watched. And a steady frame makes only the
// calls the protocol needs: per sound a look-up and a read, and a question to
// the sound device for each one the module started. The panel function table
// here is a small fixed one of the test's, so that the host's own allocations do not
// hide the module's, and it counts the calls made into it.
#include <gtest/gtest.h>
#include <vorlanex_engine/engine_control.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "audio/module_heap.h"
#include "module/gauge_records.h"
#include "simulator_sound.h"
#include "support/built_files.h"
#include "support/temp_folder.h"
#include "wave_bytes.h"

namespace {

bool counting = false;
long allocations = 0;

void* allocate(std::size_t size) {
  if (counting) ++allocations;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (counting) ++allocations;
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace vorlanex {
namespace {

// Named variables in fixed arrays, found by name with strcmp: the panel
// function table's four variable entries, allocating nothing.
struct FixedVariables {
  static constexpr int kCapacity = 128;
  char names[kCapacity][64];
  double values[kCapacity];
  int count;
};
FixedVariables variables;

struct HostCalls {
  long lookups;
  long reads;
  long writes;
};
HostCalls hostCalls;

std::int32_t GAUGE_CALL lookup(const char* name) {
  if (counting) ++hostCalls.lookups;
  for (int id = 0; id < variables.count; ++id) {
    if (std::strcmp(variables.names[id], name) == 0) return id;
  }
  return -1;
}

std::int32_t GAUGE_CALL registerName(const char* name) {
  const std::int32_t known = lookup(name);
  if (known >= 0 || variables.count == FixedVariables::kCapacity) return known;
  std::snprintf(variables.names[variables.count], sizeof variables.names[0], "%s", name);
  variables.values[variables.count] = 0;
  return variables.count++;
}

double GAUGE_CALL get(std::int32_t id) {
  if (counting) ++hostCalls.reads;
  return id >= 0 ? variables.values[id] : 0.0;
}

void GAUGE_CALL set(std::int32_t id, double value) {
  if (counting) ++hostCalls.writes;
  if (id >= 0) variables.values[id] = value;
}

void setValue(const char* name, double value) { set(registerName(name), value); }

double valueOf(const char* name) { return get(lookup(name)); }

void setSound(int index, double value) {
  char name[32];
  std::snprintf(name, sizeof name, "zeb_xml_id_%02d", index);
  setValue(name, value);
}

class FrameCost : public ::testing::Test {
 protected:
  void SetUp() override {
    table_.entries[abi::kLookupNamedVariable] = reinterpret_cast<void*>(&lookup);
    table_.entries[abi::kRegisterNamedVariable] = reinterpret_cast<void*>(&registerName);
    table_.entries[abi::kGetNamedVariableValue] = reinterpret_cast<void*>(&get);
    table_.entries[abi::kSetNamedVariableValue] = reinterpret_cast<void*>(&set);
    ImportTable.panels = &table_;
    gauge_ = *Linkage.gauges[0];

    const std::string sound = wavebytes::wave(wavebytes::formatFields(1, 1, 11025, 16),
                                              wavebytes::samplePattern(4410));  // 0.2 s
    for (int i = 0; i < 100; ++i) {
      char path[64];
      std::snprintf(path, sizeof path, "Sound/zeb/zeb_xml_%02d.wav", i);
      root_.write(path, sound);
    }
    root_.write("Gauges/zeb_xml_sound.ini", "[Config]\nMaxSounds=100\n");
    engine::reset();
    service(abi::kPreInstall);
    service(abi::kPostInstall);
    service(abi::kConnectToWindow);
  }
  void TearDown() override {
    service(abi::kDisconnect);
    ImportTable.panels = nullptr;
  }

  void service(std::int32_t code) { gauge_.serviceCallback(&gauge_, code, 0); }

  // Frames counted for allocations; the device's time passes between them
  // uncounted, so one-shots can end.
  void countedFrames(int count) {
    hostCalls = {};
    for (int i = 0; i < count; ++i) {
      counting = true;
      service(abi::kPreUpdate);
      counting = false;
      engine::advance(1.0 / 18);
    }
  }

  test::TempFolder root_;
  host::SimulatorSound simulator_{test::globalDllPath()};
  abi::HostPanels table_{};
  abi::GaugeHeader gauge_{};
};

TEST_F(FrameCost, FramesOfEveryCommandAllocateNothingOnceTheSoundsAreLoaded) {
  for (int i = 0; i < 100; ++i) setSound(i, 2);
  service(abi::kPreUpdate);  // loads every sound: that allocates, once
  ASSERT_EQ(engine::buffers().size(), 100u);
  const HeapUse heapBefore = heapUse();
  resetHeapPeak();
  allocations = 0;

  countedFrames(3);                             // loops running
  for (int i = 0; i < 50; ++i) setSound(i, 0);  // stopped and rewound
  countedFrames(2);
  for (int i = 0; i < 50; ++i) setSound(i, -1201);  // played once, panned
  setSound(60, 1);                                  // refused by a running loop
  countedFrames(12);                                // the one-shots end and hand back 0
  EXPECT_EQ(valueOf("zeb_xml_id_00"), 0);
  EXPECT_EQ(valueOf("zeb_xml_id_60"), 2);
  setValue("zeb_xml_sound_volume", 40);
  for (int i = 50; i < 75; ++i) setSound(i, 3);
  for (int i = 75; i < 100; ++i) setSound(i, 4);
  countedFrames(1);
  simulator_.set(0);  // every loaded sound muted
  countedFrames(2);
  simulator_.set(1);  // and given back its volume
  countedFrames(2);
  setValue("zeb_stop_sounds", 1);
  countedFrames(2);
  EXPECT_EQ(valueOf("zeb_stop_sounds"), 0);

  EXPECT_EQ(allocations, 0) << "operator new calls in the counted frames";
  EXPECT_EQ(heapUse().blocks, heapBefore.blocks);
  EXPECT_EQ(heapUse().peak, heapBefore.bytes) << "no block of the module's heap, even briefly";
}

// Per frame: every sound looked up and read; the stop-all variable looked up
// and read; the indicator looked up and written. Of the sound device, only
// whether each loaded sound plays.
TEST_F(FrameCost, ASteadyFrameMakesOnlyTheCallsTheProtocolNeeds) {
  struct Case {
    const char* name;
    double value;
    std::uint64_t statusQueries;
  } const cases[] = {
      {"never asked for", 0, 0},
      {"looping", 2, 100},
      // Stopped by the module: known to be stopped, so the device is not asked.
      {"stopped", 0, 0},
      {"codes without action", 57, 0},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 100; ++i) setSound(i, c.value);
    service(abi::kPreUpdate);
    engine::reset();
    countedFrames(1);
    EXPECT_EQ(hostCalls.lookups, 102) << c.name;
    EXPECT_EQ(hostCalls.reads, 101) << c.name;
    EXPECT_EQ(hostCalls.writes, 1) << c.name;
    EXPECT_EQ(engine::callCount(engine::Call::GetStatus), c.statusQueries) << c.name;
    EXPECT_EQ(engine::totalCalls(), c.statusQueries) << c.name;
  }
}

}  // namespace
}  // namespace vorlanex
