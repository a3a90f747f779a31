// One run of the panel for the search: the module linked in fresh and the
// panel's gauges, played a frame at a
// time as `run --panel` plays a script, with what each frame did to the
// sounds: a sound started, a play code written, overwritten before the
// module read it, refused by the module, a loop stopped.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/slot_table.h"
#include "script.h"
#include "script_runner.h"

namespace vorlanex::tool {

struct ReachSetup {
  RunPanel panel;
  std::string parameters;     // the module's INI path
  std::string globalDllPath;  // the GLOBAL.DLL stand-in, as `run` loads it; empty: none
  SoundTable table;           // what the module reads from the INI file
  double framesPerSecond = host::PanelHost::kDefaultFrameRate;
};

struct SoundEvent {
  enum class Kind {
    kStarted,         // the module started the sound playing
    kPlayWritten,     // a gauge wrote a play code (1 or 2) into its variable
    kOtherWritten,    // a gauge wrote another code
    kOverwritten,     // a play code written was gone when the frame ended, the sound not started
    kRefused,         // the module handed the variable back as the error value
    kLoopStopped,     // a loop of the sound stopped
    kStopAllWritten,  // a gauge asked every sound to stop
  } kind;
  int sound;  // by the INI's order; -1 for the stop-all variable
  int frame;
  double value;              // the value written
  gauges::ScriptSite site;   // the gauge's script that wrote it, where a gauge did
  // kStarted: the sound's variable and the volume played as the frame left them.
  double held = 0.0;
  double volume = 0.0;
};

class ReachRun {
 public:
  explicit ReachRun(const ReachSetup& setup);
  ~ReachRun();
  ReachRun(const ReachRun&) = delete;
  ReachRun& operator=(const ReachRun&) = delete;

  // One frame: the steps, then the panel's gauges and the module. Throws
  // ScriptError for a step that cannot be carried out (a hidden area).
  void playFrame(const std::vector<Step>& steps);
  int frames() const { return frame_; }

  // The state as the search tells states apart: the L: and G: variables,
  // the aircraft's variables but the clock's, the open windows and what
  // each sound does. Equal keys, equal states (told by a 128-bit digest).
  std::string key();

  gauges::GaugePanel& panel();
  gauges::SimulatedAircraft& aircraft();
  double variable(const std::string& name);
  // Whether the sound is playing (once or looping) now.
  bool playing(int sound) const;

  // What the frames since the last call did to the sounds.
  std::vector<SoundEvent> takeEvents();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  std::vector<std::unique_ptr<Script>> scripts_;  // the steps played, which the record refers to
  int frame_ = 0;
  std::vector<std::size_t> byName_;  // the panel's variables' ids in the order of their names
  std::string nameSet_;              // their names, in that order
};

}  // namespace vorlanex::tool
