// The panel as the console plays it: the module, the sound device and the
// frame loop, set up before the page is served so that what cannot be set up
// is told first.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console_session.h"
#include "device_clock.h"
#include "linked_module.h"
#include "module_library.h"
#include "script_runner.h"

namespace vorlanex::tool {

class LivePanel {
 public:
  // The module file at `modulePath`, or the module linked into the tool for
  // an empty path, with the panel's XML gauges when given. Throws
  // std::runtime_error for what cannot be set up.
  LivePanel(const std::string& modulePath, const AudioRequest& audio, RunOptions options,
            std::optional<RunPanel> gauges = std::nullopt);

  // The gauges and the aircraft they read; null without them.
  const gauges::GaugePanel* gaugePanel() { return runner_.gaugePanel(); }
  gauges::SimulatedAircraft* aircraft() { return runner_.aircraft(); }

  // What the frames so far recorded: their steps, the writes kept.
  const RunRecord& record() const { return runner_.record(); }

  // Why the sounds are not heard; empty when they are.
  const std::string& unheard() const { return clock_.unheard(); }

  // The log's lines also go to `log` (null: nowhere else), flushed each
  // frame: the whole session, while the record keeps only its writes of the
  // last `keptSeconds`. Told before play().
  void keepLog(std::FILE* log, double keptSeconds) {
    log_ = log;
    keptSeconds_ = keptSeconds;
  }

  // The runner, for what a reload of the panel's files changes between frames.
  ScriptRunner& runner() { return runner_; }
  // The module taken down and loaded again, as the simulator does when the
  // aircraft is reloaded: it reads its INI and WAV files anew when the next
  // frame sets it up. The panel's variables stay.
  void reloadModule();
  // Called at the start of each frame after the first, before the page's
  // steps are taken: where saves of the panel's files are applied.
  void setFrameStart(std::function<void(int frame)> start) { frameStart_ = std::move(start); }

  // The frame loop: the only writer of panel variables. Each frame carries
  // out the steps the page queued before it started, until the page quits or
  // `stopped` says so. The log of writes and page steps goes to `out`: with
  // the gauges, the lines of `run --panel`'s log, each with its writer.
  void play(ConsoleSession& session, std::FILE* out, const std::function<bool()>& stopped);

 private:
  std::string modulePath_;
  std::unique_ptr<host::LinkedModule> linked_;  // used unless a module file is given
  std::unique_ptr<host::ModuleLibrary> library_;
  DeviceClock clock_;
  ScriptRunner runner_;
  std::FILE* log_ = nullptr;
  double keptSeconds_ = 600.0;
  std::function<void(int frame)> frameStart_;
};

}  // namespace vorlanex::tool
