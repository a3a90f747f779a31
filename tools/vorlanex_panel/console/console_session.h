// What the console's server and its frame loop share: the clicks waiting for
// the next frame, and the state the page is shown after each frame. The
// frame loop is the only writer of panel variables; the server only queues.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "page_actions.h"
#include "panel_facts.h"
#include "panel_host.h"
#include "script.h"
#include "timeline.h"

namespace vorlanex::tool {

// A save of the panel's files taken by the running session: what was saved,
// what was reloaded (or why nothing was), what check finds in the new files,
// and the gauges that changed, which the page flashes.
struct ReloadNote {
  double time = 0.0;
  std::vector<std::string> saved;      // the files, as the page shows them
  std::vector<std::string> reloaded;   // each what was done
  std::vector<std::string> findings;   // "file:line: ..." lines
  std::vector<int> gauges;             // by index in the panel
};

// The answer to a page's action: an HTTP status and a body.
struct ActionAnswer {
  int status;
  std::string body;
};

class ConsoleSession {
 public:
  // `replayCommand` is the `run` command that replays the session's script,
  // for its heading.
  ConsoleSession(PanelFacts panel, const SoundTable& table, bool globalDll,
                 std::string replayCommand);

  // Told before the first frame when the sounds are not heard (no audio
  // device): why, for the page.
  void setUnheard(std::string why);
  // Told before the first frame of a session that runs the panel's gauges:
  // the page shows them and its actions reach them.
  void showGauges(std::unique_ptr<GaugeView> gauges);
  // The gauges' view: fixed parts for any thread, the rest the frame loop's.
  GaugeView* gauges() { return gauges_.get(); }

  // --- The server's side, from any thread --------------------------------
  // Queues the steps of one action for the next frame, or tells why it
  // cannot be done (then nothing is queued).
  ActionAnswer act(const std::string& body);
  // The state of the first frame after `after` as JSON, waiting up to
  // `limit` for it (the latest state when none comes; empty once the session
  // ends): the parts of it that changed after frame `after`, with what the
  // timeline gained since: the page that shows frame `after` asks for what
  // is new. A page that shows none (`after` < 0) gets every part, the
  // panel's facts and the timeline's last stretch.
  std::string stateAfter(long long after, std::chrono::milliseconds limit);
  // The session so far as a script for `run`.
  std::string script();
  void quit();

  // --- The frame loop's side ---------------------------------------------
  bool quitting();
  // The steps queued since the last call, for the coming frame.
  Script takeSteps();
  // After each frame: what the page is shown and the script gain what the
  // frame added, at the same cost whatever the session's length.
  void frameDone(const RunRecord& record, const host::NamedVariables& variables);
  // At the start of a frame, before its steps are taken: a save was taken.
  // The script marks it where the frame's steps follow; with `layoutChanged`
  // (gauges or windows read again) the page is sent the panel's facts anew.
  void noteReload(ReloadNote note, bool layoutChanged);
  // The module was set up again with another INI file: its sounds as check
  // now finds them, the page sent them anew. A table of other variables
  // starts the timeline's lanes over from frame `frame`.
  void replaceSounds(PanelFacts panel, const SoundTable& table, int frame);

 private:
  // The page draws the last half minute; a little more keeps its left edge
  // drawn.
  static constexpr double kTimelineWindow = 40.0;
  // The page lists the last few reloads.
  static constexpr std::size_t kReloadsShown = 12;

  // A timeline item that has ended, as the page's JSON, with the frame that
  // ended it and its time.
  struct TimelineEvent {
    long long frame;
    double time;
    std::string json;
  };

  void queue(Step step);  // under the lock
  std::string factsJson() const;
  using Parts = std::vector<std::pair<std::string, std::string>>;
  Parts frameParts(const RunRecord& record, const host::NamedVariables& variables) const;
  std::vector<TimelineEvent> endedEvents(long long frame);
  std::string newScriptLines(const RunRecord& record);

  PanelFacts panel_;  // changed by the frame loop alone, under the lock
  const std::string heading_;  // the script's first comment lines
  std::string unheard_;
  std::unique_ptr<GaugeView> gauges_;
  // The frame loop's own: the timeline and script as far as they are told.
  std::unique_ptr<TimelineBuilder> timeline_;
  std::size_t scriptedEvents_ = 0;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Step> queued_;
  int queuedSteps_ = 0;  // since the session began
  SimulatorSide queuedSimulator_;   // as the queued steps leave it, for refusals
  SimulatorSide appliedSimulator_;  // as the frames so far left it, for the page
  bool quit_ = false;
  long long frame_ = -1;
  double framesPerSecond_ = 1.0;
  std::string facts_;  // the panel as the page first shows it
  // The last frame's state by part, each with the frame it last changed in,
  // without the timeline's events.
  struct Part {
    std::string json;
    long long changed;
    long long seen;  // the last frame that had it
  };
  std::map<std::string, Part> state_;
  // The timeline's ended items of the last stretch the page draws, oldest
  // first; older ones are let go.
  std::deque<TimelineEvent> events_;
  std::string script_;  // the heading and a line per step; the last line is added when asked
  int markLines_ = 0;   // the reloads' comment lines in it
  long long factsChanged_ = -1;  // the frame from which the page is sent the facts again
  // The frame loop's: the last reloads, newest last, each as the page's
  // JSON, and the page's list of them.
  std::deque<std::string> reloads_;
  std::string reloadsJson_ = "[]";
};

}  // namespace vorlanex::tool
