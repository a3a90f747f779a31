// The command protocol under a long run of random traffic: 100 sounds whose
// variables get every kind of number, the stop-all variable, the master
// volume and the simulator's sound switch changing, the sound device failing
// creates and locks, losing buffers and refusing to restore them for a
// while, and WAV files appearing, vanishing and turning malformed. After every
// frame the panel's variables and the device's buffers must be what an
// account of the protocol kept apart from the module (ProtocolModel) says.
// Then the panel is taken down and set up again many times, as the simulator
// does when a panel window is closed and reopened.
//
// The module is linked in, so the test sees its open-file and heap counters.
// Sizes: VORLANEX_SOAK_FRAMES and VORLANEX_SOAK_CYCLES (set per build in CMake,
// or in the environment); VORLANEX_SOAK_LONG=1 for the full run of a million
// frames and a thousand set-ups; VORLANEX_SOAK_SEED to replay a run.
#include "soak/protocol_soak.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace vorlanex::soak {
namespace {

struct Sizes {
  long frames;
  long cycles;
  std::uint64_t seed;
};

long fromEnvironment(const char* name, long otherwise) {
  const char* text = std::getenv(name);
  return text != nullptr && text[0] != '\0' ? std::atol(text) : otherwise;
}

Sizes soakSizes() {
  const bool longRun = fromEnvironment("VORLANEX_SOAK_LONG", 0) != 0;
  Sizes sizes{fromEnvironment("VORLANEX_SOAK_FRAMES", longRun ? 1000000 : VORLANEX_SOAK_FRAMES),
              fromEnvironment("VORLANEX_SOAK_CYCLES", longRun ? 1000 : VORLANEX_SOAK_CYCLES), 0};
  const char* seed = std::getenv("VORLANEX_SOAK_SEED");
  sizes.seed = seed != nullptr && seed[0] != '\0' ? std::strtoull(seed, nullptr, 10)
                                                  : std::random_device{}();
  return sizes;
}

TEST(ProtocolSoak, RandomTrafficFaultsAndFilesKeepTheVariablesAsTheProtocolSays) {
  const Sizes sizes = soakSizes();
  ProtocolSoak soak(sizes.seed);
  const auto began = std::chrono::steady_clock::now();
  soak.setUp();
  soak.runFrames(sizes.frames);
  for (long c = 0; c < sizes.cycles && !soak.failed(); ++c) soak.cycle();
  soak.takeDown();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("soak: %ld frames, %ld set-ups, %.1f s (seed %llu)\n", soak.frames(), sizes.cycles,
              seconds, static_cast<unsigned long long>(sizes.seed));
  // Each path the traffic is meant to take, with the least a run of this
  // length must show: a quarter or less of the fewest seen over many seeds,
  // so that only traffic that no longer reaches a path falls short. Runs
  // shorter than the sanitizer build's, sized in the environment, are too
  // short for that and are held to nothing.
  const Tally& t = soak.tally();
  struct Path {
    const char* name;
    long count;
    long framesEach;  // at least one per this many frames
  } const paths[] = {
      {"played once", t.playedOnce, 10},
      {"looped", t.looped, 20},
      {"ends handed back", t.handedBack, 10},
      {"loops refusing", t.loopRefusals, 25},
      {"missing", t.missing, 100},
      {"unplayable", t.unplayable, 25},
      {"stops", t.stops, 1},
      {"stop-alls", t.stopAlls, 1000},
      {"volumes applied", t.volumesApplied, 20},
      {"volumes reported", t.volumesReported, 20},
      {"switch changes", t.switchChanges, 2000},
      {"buffers lost", t.lost, 500},
      {"restored", t.restored, 500},
      {"given up", t.givenUp, 50000},
      {"failed creates", t.failedCreates, 50000},
      {"failed fills", t.failedFills, 1000},
      {"plays told as failed", t.failedPlays, 1000},
      {"restore pauses", static_cast<long>(soak.pauses()), 5000},
  };
  for (const Path& path : paths) std::printf("%s %ld; ", path.name, path.count);
  std::printf("\n");
  const long heldFrames = soak.frames() >= 50000 ? soak.frames() : 0;
  for (const Path& path : paths) {
    EXPECT_GE(path.count, heldFrames / path.framesEach)
        << path.name << " in " << soak.frames() << " frames (seed " << sizes.seed << ")";
  }
  RecordProperty("seed", std::to_string(sizes.seed));
}

}  // namespace
}  // namespace vorlanex::soak
