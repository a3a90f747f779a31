// The core of `run`: plays a script against a gauge module through the panel
// host, one pre-update per frame, and records what the module wrote.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "panel_host.h"
#include "run_record.h"
#include "script.h"
#include "simulator_sound.h"

namespace vorlanex::tool {

struct RunOptions {
  double framesPerSecond = host::PanelHost::kDefaultFrameRate;
  std::string parameters;     // the gauge's parameter string: the INI path
  std::string globalDllPath;  // our GLOBAL.DLL stand-in, loaded when the run starts
};

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

  void setFrameAdvance(FrameAdvance advance) { advance_ = std::move(advance); }
  void setProgress(Progress progress) { progress_ = std::move(progress); }
  // Called for each write and each step as the run goes, for a live log.
  void setWriteListener(std::function<void(const VariableWrite&)> listener) {
    onWrite_ = std::move(listener);
  }
  void setStepListener(std::function<void(const StepEvent&)> listener) {
    onStep_ = std::move(listener);
  }

  // Installs the panel, plays the script frame by frame until its last step
  // has run, then disconnects the panel. Steps due at time 0 run before the
  // panel is installed. Throws ScriptError for a step that cannot be carried
  // out. The record refers to `script`'s steps.
  RunRecord run(const Script& script);

  // A session played live (the console), one frame at a time: every step of
  // `steps` is carried out, in order and whatever its time, then the frame's
  // pre-update. Frame 0 installs the panel after its steps; the caller
  // disconnects it. The record refers to the steps, which must outlive it.
  void playFrame(const Script& steps, int frame);
  const RunRecord& record() const { return record_; }

  host::PanelHost& host() { return host_; }

 private:
  void runDueSteps(const Script& script, int frame, double time);
  // Carries out one step; false when it must wait for a later frame.
  bool runStep(const Script& script, const Step& step, int frame, double time);
  void runFrame(int frame, double time);
  void noteGlobalDllSeen();
  void event(StepEvent event);

  RunOptions options_;
  host::PanelHost host_;
  std::unique_ptr<host::SimulatorSound> globalDll_;
  std::uint32_t soundSwitch_ = 1;  // the simulator starts with its sound on
  bool moduleHoldsGlobalDll_ = false;

  std::size_t next_ = 0;      // the next step to run
  double resumeAt_ = 0.0;     // the earliest time it may run
  double waitStarted_ = -1.0;  // when a "wait until" began, -1 when none is waiting
  RunRecord record_;

  FrameAdvance advance_;
  Progress progress_;
  std::function<void(const VariableWrite&)> onWrite_;
  std::function<void(const StepEvent&)> onStep_;
};

}  // namespace vorlanex::tool
