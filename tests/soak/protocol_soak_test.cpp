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
  const Tally& t = soak.tally();
  std::printf(
      "played once %ld, looped %ld, ends handed back %ld, loops refusing %ld, missing %ld, "
      "unplayable %ld, stops %ld, stop-alls %ld, volumes applied %ld, reported %ld, switch "
      "changes %ld, restored %ld, given up %ld, failed creates %ld, failed fills %ld, plays "
      "told as failed %ld, restore pauses %u\n",
      t.playedOnce, t.looped, t.handedBack, t.loopRefusals, t.missing, t.unplayable, t.stops,
      t.stopAlls, t.volumesApplied, t.volumesReported, t.switchChanges, t.restored, t.givenUp,
      t.failedCreates, t.failedFills, t.failedPlays, soak.pauses());
  RecordProperty("seed", std::to_string(sizes.seed));
}

}  // namespace
}  // namespace vorlanex::soak
