// The core of `run`: plays a script against a gauge module through the panel
// host, one pre-update per frame, and records what the module wrote. With the
// panel's XML gauges it runs them too, frame by frame in panel.cfg's order,
// the module's pre-update at its own gauge line's place.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "gauge_panel.h"
#include "panel_host.h"
#include "run_record.h"
#include "script.h"
#include "simulator_sound.h"

namespace vorlanex::tool {

struct RunOptions {
  double framesPerSecond = host::PanelHost::kDefaultFrameRate;
  std::string parameters;     // the gauge's parameter string: the INI path
  std::string globalDllPath;  // our GLOBAL.DLL stand-in, loaded when the run starts
  // The variables whose writes by the script and the gauges are recorded (the
  // module's); empty: every variable's. The module's own writes are all recorded.
  std::vector<std::string> followed = {};
};

// The panel's gauges, as panel.cfg places them.
struct RunPanel {
  std::vector<gauges::PanelWindowSection> windows;
  std::vector<gauges::PanelGaugeLine> gauges;
  // The module's own gauge line among `gauges`; none: the module never runs.
  std::optional<std::size_t> module;
};

// Whether `expect` and `wait until` take `actual` for `expected`: equal
// within a relative tolerance of 1e-6, since unit conversions rarely land
// exactly.
bool holdsValue(double actual, double expected);

class ScriptRunner {
 public:
  // Called after each frame's pre-update with the frame's number and length
  // in seconds: where a sound engine's clock is advanced, or real time waited.
  using FrameAdvance = std::function<void(int frame, double seconds)>;
  // Called after each frame with the time reached and the longest the run
  // can take.
  using Progress = std::function<void(double time, double longest)>;

  ScriptRunner(const host::ModuleExports& module, RunOptions options);
  ~ScriptRunner();

  // Runs the panel's XML gauges beside the module from the first frame on:
  // given before run().
  void usePanel(RunPanel panel);
  // The gauges and the simulated aircraft; null without usePanel.
  gauges::GaugePanel* gaugePanel();
  gauges::SimulatedAircraft* aircraft();

  void setFrameAdvance(FrameAdvance advance) { advance_ = std::move(advance); }
  void setProgress(Progress progress) { progress_ = std::move(progress); }
  // Called for each write, each step and each event sent as the run goes,
  // for a live log.
  void setWriteListener(std::function<void(const VariableWrite&)> listener) {
    onWrite_ = std::move(listener);
  }
  void setStepListener(std::function<void(const StepEvent&)> listener) {
    onStep_ = std::move(listener);
  }
  void setSentEventListener(std::function<void(const SentEventRecord&)> listener) {
    onSent_ = std::move(listener);
  }
  // Called for every write of a gauge's script, whatever the variable and
  // whether it changed it: what check's run at rest watches.
  void setGaugeWriteListener(
      std::function<void(const std::string& name, double value, const gauges::ScriptSite&)>
          listener) {
    onGaugeWrite_ = std::move(listener);
  }

  // Installs the panel, plays the script frame by frame until its last step
  // has run and its ramps have ended, then disconnects the panel. Steps due
  // at time 0 run before the panel is installed. Throws ScriptError for a
  // step that cannot be carried out (a click on a gauge the panel lacks...),
  // before the first frame where it can tell. The record refers to
  // `script`'s steps.
  RunRecord run(const Script& script);

  // A session played live (the console), one frame at a time: every step of
  // `steps` is carried out, in order and whatever its time, then the frame's
  // pre-update. Frame 0 installs the panel after its steps; the caller
  // disconnects it. The record refers to the steps, which must outlive it.
  void playFrame(const Script& steps, int frame);
  const RunRecord& record() const { return record_; }
  // Lets go of the writes and sent events recorded before `time` (seconds):
  // a live session keeps its last stretch.
  // The events the aircraft recorded and the record took are let go too.
  void forgetBefore(double time);

  host::PanelHost& host() { return host_; }

  // --- A live session's files saved again, between frames ------------------
  // The module taken down as the simulator does when the aircraft is
  // reloaded: disconnected and let go, so that it can be unloaded. The
  // panel's variables stay.
  void takeDownModule();
  // Another load of the module served from now on; the next frame sets it up.
  void useModule(const host::ModuleExports& module);
  // The variables whose writes are recorded from now on (RunOptions::followed).
  void follow(const std::vector<std::string>& names) { followed_ = {names.begin(), names.end()}; }
  // panel.cfg read again: its windows and gauge lines. Windows and gauges
  // that stay keep their states (gauges::GaugePanel::replaceLayout).
  void replaceLayout(RunPanel panel);

 private:
  struct Panel;
  // A ramp under way: its step, from where and since when.
  struct Ramp {
    const Step* step;
    std::string script;  // the script's file
    double from;
    double start;
  };

  void runDueSteps(const Script& script, int frame, double time);
  // Carries out one step; false when it must wait for a later frame.
  bool runStep(const Script& script, const Step& step, int frame, double time);
  void runPanelStep(const Script& script, const Step& step);
  void advanceRamps(double time);
  void runFrame(int frame, double time);
  void runModule(int frame, double time);
  void noteGlobalDllSeen();
  void event(StepEvent event);

  double read(const StepVariable& variable);
  void write(const StepVariable& variable, double value, const Writer& writer);
  // Whether writes of the variable by the script and the gauges are recorded.
  bool follows(const std::string& name) const;
  void recordWrite(const std::string& name, double oldValue, double newValue, Writer writer);
  void recordSentEvents();
  void checkPanelSteps(const Script& script) const;

  RunOptions options_;
  host::PanelHost host_;
  std::unordered_set<std::string> followed_;  // options_.followed, looked up per write
  std::unique_ptr<host::SimulatorSound> globalDll_;
  std::uint32_t soundSwitch_ = 1;  // the simulator starts with its sound on
  bool moduleHoldsGlobalDll_ = false;
  bool installed_ = false;
  std::unique_ptr<Panel> panel_;

  std::size_t next_ = 0;      // the next step to run
  double resumeAt_ = 0.0;     // the earliest time it may run
  double waitStarted_ = -1.0;  // when a "wait until" began, -1 when none is waiting
  std::vector<Ramp> ramps_;
  int frame_ = 0;             // the frame running, for writes heard from gauges
  double time_ = 0.0;
  RunRecord record_;

  FrameAdvance advance_;
  Progress progress_;
  std::function<void(const VariableWrite&)> onWrite_;
  std::function<void(const StepEvent&)> onStep_;
  std::function<void(const SentEventRecord&)> onSent_;
  std::function<void(const std::string&, double, const gauges::ScriptSite&)> onGaugeWrite_;
};

}  // namespace vorlanex::tool
