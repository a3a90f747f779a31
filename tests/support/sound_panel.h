// A freshly loaded module with sounds to play: the INI file and WAV files in
// a folder standing for the simulator's root, the panel host driving frames
// whose duration reaches the sound device (the engine's virtual clock
// natively, real time under Wine).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "simulator_sound.h"
#include "support/loaded_panel.h"
#include "support/sine_wave.h"
#include "support/sound_output.h"
#include "support/temp_folder.h"

namespace vorlanex::test {

// Lets the host's frames move the sound device's time.
void attachSoundClock(host::PanelHost& host);

class SoundPanel {
 public:
  SoundPanel() = default;
  // A panel still set up is disconnected before its module is unloaded.
  ~SoundPanel();

  TempFolder root;

  void writeIni(const std::string& text) { root.write("Gauges/zeb_xml_sound.ini", text); }
  // The WAV file of sound NN at its default path.
  void writeSound(int index, const SineFile& sine);

  // Loads the module and sets the panel up: pre-install, post-install,
  // connect to window; `withSimulator` loads the GLOBAL.DLL stand-in first.
  void install(bool withSimulator = true);
  host::PanelHost& host() { return loaded_->host; }
  SoundOutput& output() { return *output_; }
  host::SimulatorSound* simulator() { return simulator_.get(); }
  void loadSimulator();
  void unloadSimulator() { simulator_.reset(); }

  double get(const std::string& name) { return host().variables().valueOf(name); }
  void set(const std::string& name, double value);
  void frames(int count) { host().runFrames(count); }
  // Runs frames until `condition` holds; false when `limitSeconds` of frames
  // passed first.
  bool framesUntil(const std::function<bool()>& condition, double limitSeconds = 20.0);

 private:
  std::unique_ptr<host::SimulatorSound> simulator_;
  std::unique_ptr<LoadedPanel> loaded_;
  std::unique_ptr<SoundOutput> output_;
};

// The name of sound NN's default variable.
std::string soundVariable(int index);

}  // namespace vorlanex::test
