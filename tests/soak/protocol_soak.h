// The soak's panel: the module linked in and set up by the panel host with
// 100 sounds, the traffic that goes at it between frames, and after every
// frame the comparison of the panel's variables and the device's buffers
// with ProtocolModel's account of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "panel_host.h"
#include "simulator_sound.h"
#include "soak/protocol_model.h"
#include "soak/soak_traffic.h"
#include "support/temp_folder.h"

namespace vorlanex::soak {

class ProtocolSoak {
 public:
  explicit ProtocolSoak(std::uint64_t seed) : traffic_(seed), seed_(seed) {}

  // Writes the panel's files and sets it up: pre-install, post-install,
  // connect to window.
  void setUp();
  // Frames of random traffic, each checked; stops at the first failing one.
  void runFrames(long count);
  // The panel window closes and opens again: disconnect, pre-install and
  // connect, without a new post-install.
  void cycle();
  // The last disconnect, after which nothing of the panel may be left.
  void takeDown();
  bool failed() const { return failures_ > 0; }
  long frames() const { return frame_; }
  const Tally& tally() const { return model_.tally; }
  unsigned pauses() const { return model_.pauses; }

 private:
  // Writes the INI file and the sounds' files; yields the variables' names,
  // the sounds' in order, then the stop-all variable's.
  std::vector<std::string> writeConfiguration();
  void placeFile(int file, FileKind kind);
  void disturb();
  void loseABuffer();
  void frame();
  void checkVariables(const Variables& expected);
  void checkBuffers();
  void followDevice();
  void checkAllLetGo(const char* when);
  void fail(const std::string& what);

  test::TempFolder root_;
  Traffic traffic_;
  std::uint64_t seed_;
  ProtocolModel model_;
  std::vector<std::string> paths_;  // each file's path below the root
  std::unique_ptr<host::SimulatorSound> simulator_;
  std::unique_ptr<host::PanelHost> host_;
  // The device's live buffers in the order it made them, and whose each is.
  std::vector<IDirectSoundBuffer*> known_;
  std::vector<int> owners_;
  std::size_t heapBlocksAtStart_ = 0;
  std::uint32_t pausesAtStart_ = 0;
  long frame_ = 0;
  long simulatorDue_ = 0;  // the frame before which the simulator's module loads
  int failures_ = 0;
};

}  // namespace vorlanex::soak
