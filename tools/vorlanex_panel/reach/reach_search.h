// The search: breadth first from the panel at rest, every move from every
// state, so that the first way found to each sound is a shortest one. A
// state is restored by playing its way again from the start on a fresh
// module and panel: the same frames, the same results.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reach_moves.h"
#include "reach_run.h"
#include "script_facts.h"

namespace vorlanex::tool {

struct SearchLimits {
  int depth = 6;
  std::size_t states = 100000;
  double seconds = 60.0;  // the only use of the wall clock: when to stop
};

// A move made and the frames the panel then ran until it was still.
struct WayStep {
  int move;
  int settleFrames;
};

struct Way {
  int restFrames = 0;  // the panel at rest, before the first move
  std::vector<WayStep> steps;
};

struct ReachedSound {
  Way way;
  SoundEvent start;  // the frame it started in, its variable and the volume then
};

// What the search saw of one sound.
struct SoundSeen {
  std::optional<ReachedSound> reached;
  bool playWritten = false;
  std::vector<SoundEvent> otherCodes;  // the first of each writer and value
  std::optional<SoundEvent> overwritten;
  std::optional<SoundEvent> refused;
  bool looped = false;
  bool loopStopped = false;
  bool atRest = false;  // started as a one-shot while nobody touched the panel
};

struct SearchResult {
  ScriptFacts facts;  // read from the panel's scripts before the search
  std::vector<Move> moves;
  std::vector<SoundSeen> sounds;  // by the INI's order
  std::vector<bool> windowsOpened;
  std::optional<SoundEvent> stopAllWritten;
  int depth = 0;               // the deepest level explored in full or in part
  std::size_t states = 0;      // states told apart
  std::size_t explored = 0;    // moves made (each from a state restored)
  std::size_t frames = 0;      // frames run, replays included
  double seconds = 0.0;
  double lastReachedAt = 0.0;  // seconds into the search when the last sound it reached first played
  std::string cut;  // which bound ended the search ("depth 6", "100000 states", "60 s"); empty: none
};

// Called as the search goes, with the depth, the states and the sounds reached.
using SearchProgress = std::function<void(int depth, std::size_t states, int reached, int sounds)>;

// `pilotWindows` as panelMoves takes it. The search ends early when there
// is nothing more to find: every sound started, every loop seen to stop,
// the stop-all variable written if a gauge writes it.
SearchResult searchPanel(const ReachSetup& setup, const std::vector<bool>& pilotWindows,
                         const SearchLimits& limits,
                         const SearchProgress& progress = {});

// The frames of a way, in order: each frame's steps (empty for most).
std::vector<std::vector<Step>> wayFrames(const Way& way, const std::vector<Move>& moves);

}  // namespace vorlanex::tool
