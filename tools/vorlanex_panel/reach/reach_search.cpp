#include "reach_search.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unordered_set>

#include "commands/command_value.h"
#include "script_parser.h"

namespace vorlanex::tool {
namespace {

// The panel is still when its state has not changed for this many frames;
// it settles for no longer than the most.
constexpr int kStillFrames = 3;
constexpr int kMostSettleFrames = 54;

int settle(ReachRun& run) {
  std::string last = run.key();
  int still = 0;
  int frames = 0;
  while (still < kStillFrames && frames < kMostSettleFrames) {
    run.playFrame({});
    ++frames;
    std::string now = run.key();
    still = now == last ? still + 1 : 0;
    last = std::move(now);
  }
  return frames;
}

class Search {
 public:
  Search(const ReachSetup& setup, const SearchLimits& limits, const SearchProgress& progress)
      : setup_(setup), limits_(limits), progress_(progress),
        start_(std::chrono::steady_clock::now()) {}

  SearchResult run(const std::vector<bool>& pilotWindows) {
    Way rest;
    {
      ReachRun run(setup_);
      rest.restFrames = settle(run);
      result_.facts = readScriptFacts(run.panel());
      result_.moves = panelMoves(run.panel(), run.aircraft(), result_.facts, pilotWindows, setup_.framesPerSecond);
      result_.sounds.resize(setup_.table.soundCount < 0 ? 0 : static_cast<std::size_t>(setup_.table.soundCount));
      result_.windowsOpened.assign(run.panel().windows().size(), false);
      observe(run, rest, true);
      seen_.insert(run.key());
      result_.frames += static_cast<std::size_t>(run.frames());
    }
    result_.states = 1;
    std::vector<Way> frontier{rest};
    for (int depth = 1; depth <= limits_.depth && !frontier.empty() && !finished(); ++depth) {
      result_.depth = depth;
      std::vector<Way> next;
      for (const Way& way : frontier) {
        if (!expand(way, next)) return std::move(result_);
      }
      frontier = std::move(next);
      if (depth == limits_.depth && !frontier.empty() && !finished()) result_.cut = "depth " + std::to_string(depth);
    }
    result_.seconds = elapsed();
    return std::move(result_);
  }

 private:
  double elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  // Every sound started (or its play code written and refused by the module,
  // which no further move changes), every loop seen to stop, the stop-all
  // variable written where a gauge writes it: nothing more to find.
  bool finished() const {
    for (const SoundSeen& s : result_.sounds) {
      if ((!s.reached && !s.refused) || (s.looped && !s.loopStopped)) return false;
    }
    return result_.stopAllWritten || result_.facts.writes.count(setup_.table.stopAll.varName) == 0;
  }

  // Plays the way from the start on `run`.
  void replay(ReachRun& run, const Way& way) {
    for (const std::vector<Step>& frame : wayFrames(way, result_.moves)) run.playFrame(frame);
    run.takeEvents();  // seen when the way was first made
  }

  // The children of the state `way` leads to; false when a bound cut the search.
  bool expand(const Way& way, std::vector<Way>& next) {
    if (finished()) return true;
    std::unique_ptr<ReachRun> run = std::make_unique<ReachRun>(setup_);
    replay(*run, way);
    std::vector<int> possible;
    for (std::size_t m = 0; m < result_.moves.size(); ++m) {
      if (movePossible(result_.moves[m], run->panel(), run->aircraft())) possible.push_back(static_cast<int>(m));
    }
    for (const int m : possible) {
      if (result_.states >= limits_.states) return cut(std::to_string(limits_.states) + " states");
      if (elapsed() >= limits_.seconds) return cut(shortSeconds(limits_.seconds));
      if (!run) {
        run = std::make_unique<ReachRun>(setup_);
        replay(*run, way);
      }
      Way child = way;
      try {
        for (const std::vector<Step>& frame : result_.moves[static_cast<std::size_t>(m)].frames) run->playFrame(frame);
      } catch (const ScriptError&) {
        // An area hidden now takes no click: no move.
        result_.frames += static_cast<std::size_t>(run->frames());
        run.reset();
        continue;
      }
      child.steps.push_back({m, settle(*run)});
      ++result_.explored;
      observe(*run, child, false);
      result_.frames += static_cast<std::size_t>(run->frames());
      if (seen_.insert(run->key()).second) {
        ++result_.states;
        next.push_back(std::move(child));
      }
      run.reset();
      if (progress_) progress_(result_.depth, result_.states, reachedCount(), static_cast<int>(result_.sounds.size()));
      if (finished()) return true;
    }
    return true;
  }

  bool cut(std::string bound) {
    result_.cut = std::move(bound);
    result_.seconds = elapsed();
    return false;
  }

  static std::string shortSeconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
  }

  int reachedCount() const {
    return static_cast<int>(std::count_if(result_.sounds.begin(), result_.sounds.end(),
                                          [](const SoundSeen& s) { return s.reached.has_value(); }));
  }

  void observe(ReachRun& run, const Way& way, bool atRest) {
    for (std::size_t w = 0; w < result_.windowsOpened.size(); ++w) {
      if (run.panel().windowOpen(static_cast<int>(w))) result_.windowsOpened[w] = true;
    }
    for (const SoundEvent& e : run.takeEvents()) {
      if (e.kind == SoundEvent::Kind::kStopAllWritten) {
        if (!result_.stopAllWritten) result_.stopAllWritten = e;
        continue;
      }
      SoundSeen& s = result_.sounds.at(static_cast<std::size_t>(e.sound));
      switch (e.kind) {
        case SoundEvent::Kind::kStarted:
          if (!s.reached) {
            s.reached = ReachedSound{way, e};
            result_.lastReachedAt = elapsed();
          }
          if (decodeLoop(e.held)) s.looped = true;
          if (atRest && !decodeLoop(e.held)) s.atRest = true;
          break;
        case SoundEvent::Kind::kPlayWritten:
          s.playWritten = true;
          break;
        case SoundEvent::Kind::kOtherWritten:
          if (std::none_of(s.otherCodes.begin(), s.otherCodes.end(), [&](const SoundEvent& o) {
                return o.value == e.value && o.site.file == e.site.file && o.site.line == e.site.line;
              })) {
            s.otherCodes.push_back(e);
          }
          break;
        case SoundEvent::Kind::kOverwritten:
          if (!s.overwritten) s.overwritten = e;
          break;
        case SoundEvent::Kind::kRefused:
          if (!s.refused) s.refused = e;
          break;
        case SoundEvent::Kind::kLoopStopped:
          s.loopStopped = true;
          break;
        default:
          break;
      }
    }
  }

  static bool decodeLoop(double value) { return decodeCommand(truncateToInt32(value)).code == kCommandLoop; }

  const ReachSetup& setup_;
  SearchLimits limits_;
  const SearchProgress& progress_;
  std::chrono::steady_clock::time_point start_;
  SearchResult result_;
  // Looked up only, never walked: the order of the search is the moves'.
  std::unordered_set<std::string> seen_;
};

}  // namespace

SearchResult searchPanel(const ReachSetup& setup, const std::vector<bool>& pilotWindows,
                         const SearchLimits& limits, const SearchProgress& progress) {
  return Search(setup, limits, progress).run(pilotWindows);
}

std::vector<std::vector<Step>> wayFrames(const Way& way, const std::vector<Move>& moves) {
  std::vector<std::vector<Step>> frames(static_cast<std::size_t>(way.restFrames));
  for (const WayStep& step : way.steps) {
    const Move& move = moves.at(static_cast<std::size_t>(step.move));
    frames.insert(frames.end(), move.frames.begin(), move.frames.end());
    frames.resize(frames.size() + static_cast<std::size_t>(step.settleFrames));
  }
  return frames;
}

}  // namespace vorlanex::tool
