// What the console's server and its frame loop share: the clicks waiting for
// the next frame, and the state the page is shown after each frame. The
// frame loop is the only writer of panel variables; the server only queues.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "page_actions.h"
#include "panel_facts.h"
#include "panel_host.h"
#include "script.h"
#include "timeline.h"

namespace vorlanex::panel {

// The answer to a page's action: an HTTP status and a body.
struct ActionAnswer {
  int status;
  std::string body;
};

class ConsoleSession {
 public:
  ConsoleSession(PanelFacts panel, SoundTable table, bool globalDll);

  // --- The server's side, from any thread --------------------------------
  // Queues the steps of one action for the next frame, or tells why it
  // cannot be done (then nothing is queued).
  ActionAnswer act(const std::string& body);
  // The state of the first frame after `after` as JSON, waiting up to
  // `limit` for it; the latest state when none comes; empty once the session
  // ends.
  std::string stateAfter(long long after, std::chrono::milliseconds limit);
  // The session so far as a script for `run`.
  std::string script();
  void quit();

  // --- The frame loop's side ---------------------------------------------
  bool quitting();
  // The steps queued since the last call, for the coming frame.
  Script takeSteps();
  // After each frame: the state the page is shown, and the script so far.
  void frameDone(const RunRecord& record, const host::NamedVariables& variables);

 private:
  std::string stateJson(const RunRecord& record, const host::NamedVariables& variables) const;

  const PanelFacts panel_;
  const SoundTable table_;
  const bool globalDllAtStart_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Step> queued_;
  SimulatorState queuedSimulator_;   // as the queued steps leave it, for refusals
  SimulatorState appliedSimulator_;  // as the frames so far left it, for the page
  bool quit_ = false;
  long long frame_ = -1;
  std::string state_ = "{}";
  std::string script_;
};

}  // namespace vorlanex::panel
