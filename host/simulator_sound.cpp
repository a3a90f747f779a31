#include "simulator_sound.h"

#include <stdexcept>

#include "panel/global_dll.h"
#include "platform/dynamic_library.h"

namespace vorlanex::host {

SimulatorSound::SimulatorSound(const std::string& path)
    : library_(platform::loadLibrary(path.c_str())), switch_(nullptr) {
  if (library_ == nullptr) {
    throw std::runtime_error("cannot load " + path + ": " + platform::lastLibraryError());
  }
  auto* linkage = static_cast<unsigned char*>(platform::findLibrarySymbol(library_, "Linkage"));
  if (linkage == nullptr) {
    platform::unloadLibrary(library_);
    throw std::runtime_error(path + " does not export Linkage");
  }
  switch_ = reinterpret_cast<volatile std::uint32_t*>(linkage + kSoundSwitchOffset);
}

SimulatorSound::~SimulatorSound() { platform::unloadLibrary(library_); }

std::uint32_t SimulatorSound::value() const { return *switch_; }

void SimulatorSound::set(std::uint32_t value) { *switch_ = value; }

}  // namespace vorlanex::host
