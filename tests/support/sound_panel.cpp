#include "support/sound_panel.h"

#include <cstdio>

#include "support/built_files.h"

namespace vorlanex::test {

std::string soundVariable(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "zeb_xml_id_%02d", index);
  return name;
}

SoundPanel::~SoundPanel() {
  if (loaded_) host().disconnect();
}

void SoundPanel::writeSound(int index, const SineFile& sine) {
  char path[64];
  std::snprintf(path, sizeof path, "Sound/zeb/zeb_xml_%02d.wav", index);
  root.write(path, sineWave(sine));
}

void SoundPanel::loadSimulator() {
  simulator_ = std::make_unique<host::SimulatorSound>(globalDllPath());
}

void SoundPanel::install(bool withSimulator) {
  if (withSimulator) loadSimulator();
  loaded_ = std::make_unique<LoadedPanel>();
  attachSoundClock(host());
  host().service(abi::kPreInstall);
  output_ = std::make_unique<SoundOutput>();
  host().service(abi::kPostInstall);
  host().service(abi::kConnectToWindow);
}

void SoundPanel::set(const std::string& name, double value) {
  host().variables().set(host().variables().registerName(name), value);
}

bool SoundPanel::framesUntil(const std::function<bool()>& condition, double limitSeconds) {
  const int limit = static_cast<int>(limitSeconds * host().frameRate()) + 1;
  for (int i = 0; i < limit; ++i) {
    if (condition()) return true;
    frames(1);
  }
  return condition();
}

}  // namespace vorlanex::test
