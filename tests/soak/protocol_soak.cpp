#include "soak/protocol_soak.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <vorlanex_engine/engine_control.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "audio/module_heap.h"
#include "module/gauge_records.h"
#include "platform/portable/riff_file_faults.h"
#include "platform/window_and_sleep.h"
#include "support/built_files.h"

namespace vorlanex::soak {
namespace {

namespace fs = std::filesystem;

constexpr int kSounds = 100;
constexpr double kFrameSeconds = 1.0 / 18;
constexpr int kFailuresShown = 10;

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

std::string describe(double value) {
  std::ostringstream text;
  text.precision(17);
  text << value;
  return text.str();
}

// Files the process holds open below `folder`, as the kernel sees them.
int filesOpenBelow(const fs::path& folder) {
  const std::string prefix = folder.string() + "/";
  int open = 0;
  std::error_code error;
  for (fs::directory_iterator it("/proc/self/fd", error), end; !error && it != end;
       it.increment(error)) {
    char target[4096];
    const ssize_t length = readlink(it->path().c_str(), target, sizeof target - 1);
    if (length <= 0) continue;
    if (std::string(target, static_cast<std::size_t>(length)).rfind(prefix, 0) == 0) ++open;
  }
  return open;
}

}  // namespace

void ProtocolSoak::fail(const std::string& what) {
  if (++failures_ <= kFailuresShown) {
    ADD_FAILURE() << "frame " << frame_ << " (seed " << seed_ << "): " << what;
  }
}

// Sound files at their default paths, a few under names of their own with
// a volume, and three sounds sharing one file named in another case and with
// Windows separators. Some variables have names of their own.
std::vector<std::string> ProtocolSoak::writeConfiguration() {
  const bool errorIsMinusOne = traffic_.chance(0.5);
  model_.errorValue = errorIsMinusOne ? -1 : 0;
  const std::string stopAll = traffic_.chance(0.5) ? "zeb_stop_sounds" : "soak_quiet";
  std::string sounds = "[Sounds]\n";
  std::string names = "[LVars]\n";
  paths_.push_back("Sound/Soak/shared_a.wav");
  std::vector<std::string> variableNames;
  for (int i = 0; i < kSounds; ++i) {
    char key[16];
    char text[96];
    std::snprintf(key, sizeof key, "%02d", i);
    ModelSound sound;
    if (i % 10 == 3) {
      const int percent = traffic_.pick<int>({100, 80, 55, 0, 33, 120, -5});
      // Held to 0..100 %: the device takes no other volume.
      sound.volume = static_cast<float>((std::clamp(percent, 0, 100) - 100) * 100.0);
      if (i < 30) {
        sound.file = 0;
        std::snprintf(text, sizeof text, "Sound%s=.\\SOUND\\soak\\Shared_A.WAV,%d\n", key, percent);
      } else {
        sound.file = static_cast<int>(paths_.size());
        paths_.push_back(std::string("Sound/Soak/sound_") + key + ".wav");
        std::snprintf(text, sizeof text, "Sound%s=./%s,%d\n", key, paths_.back().c_str(), percent);
      }
      sounds += text;
    } else {
      sound.file = static_cast<int>(paths_.size());
      paths_.push_back(std::string("Sound/zeb/zeb_xml_") + key + ".wav");
    }
    if (i % 10 == 7) {
      variableNames.push_back(std::string("soak_cabin_") + key);
      names += "Lvar" + std::string(key) + "=" + variableNames.back() + "\n";
    } else {
      variableNames.push_back(std::string("zeb_xml_id_") + key);
    }
    model_.sounds.push_back(sound);
  }
  root_.write("Gauges/zeb_xml_sound.ini",
              "[Config]\nMaxSounds=100\nErrorFlag=" + std::string(errorIsMinusOne ? "-1" : "0") +
                  "\nLvarStop=" + stopAll + "\n" + sounds + names);
  model_.files.resize(paths_.size());
  for (std::size_t f = 0; f < paths_.size(); ++f) {
    placeFile(static_cast<int>(f), traffic_.fileKind());
  }
  variableNames.push_back(stopAll);
  return variableNames;
}

// Replaces what a path holds at once (a rename), so that a sound already
// loaded keeps reading the file it opened.
void ProtocolSoak::placeFile(int file, FileKind kind) {
  const fs::path path = root_.path() / paths_[static_cast<std::size_t>(file)];
  fs::create_directories(path.parent_path());
  std::uint32_t dataBytes = 0;
  std::uint32_t heldBytes = 0;
  const std::string bytes = traffic_.fileBytes(kind, &dataBytes, &heldBytes);
  if (fs::is_directory(path)) fs::remove(path);
  if (kind == FileKind::kMissing || kind == FileKind::kFolder) {
    fs::remove(path);
    if (kind == FileKind::kFolder) fs::create_directory(path);
  } else {
    const fs::path fresh = root_.path() / "fresh.tmp";
    std::ofstream(fresh, std::ios::binary) << bytes;
    fs::rename(fresh, path);
  }
  model_.files[static_cast<std::size_t>(file)] = {kind, heldBytes};
}

void ProtocolSoak::setUp() {
  std::printf("soak seed %llu (VORLANEX_SOAK_SEED replays it)\n",
              static_cast<unsigned long long>(seed_));
  engine::reset();
  platform::resetRiffFaults();
  heapBlocksAtStart_ = heapUse().blocks;
  pausesAtStart_ = platform::sleepsSoFar();
  const std::vector<std::string> names = writeConfiguration();

  // In half the runs the simulator's module turns up only after the panel
  // is set up.
  if (traffic_.chance(0.5)) {
    simulator_ = std::make_unique<host::SimulatorSound>(test::globalDllPath());
  } else {
    simulatorDue_ = traffic_.between(1, 2000);
  }
  host_ = std::make_unique<host::PanelHost>(host::ModuleExports{&Linkage, &ImportTable});
  host_->setRecording(false);
  host_->service(abi::kPreInstall);
  model_.preInstall(true, simulator_ != nullptr);
  host_->service(abi::kPostInstall);
  host_->service(abi::kConnectToWindow);

  const host::NamedVariables& variables = host_->variables();
  for (int i = 0; i < kSounds; ++i) {
    model_.sounds[static_cast<std::size_t>(i)].variable =
        variables.lookup(names[static_cast<std::size_t>(i)]);
  }
  model_.ids = {variables.lookup(names.back()), variables.lookup("zeb_volume_played"),
                variables.lookup("zeb_xml_sound_volume"), variables.lookup("zeb_sound_indicator")};
}

// What gauges, the simulator and the sound device do between two frames.
void ProtocolSoak::disturb() {
  host::NamedVariables& variables = host_->variables();
  for (const ModelSound& sound : model_.sounds) {
    if (traffic_.chance(0.03)) variables.set(sound.variable, traffic_.soundValue());
  }
  if (traffic_.chance(0.005)) variables.set(model_.ids.stopAll, traffic_.stopAllValue());
  if (traffic_.chance(0.01)) variables.set(model_.ids.masterVolume, traffic_.masterVolume());
  if (traffic_.chance(0.001)) variables.set(model_.ids.indicator, traffic_.between(-9, 9));
  if (frame_ == simulatorDue_) {
    simulator_ = std::make_unique<host::SimulatorSound>(test::globalDllPath());
  }
  if (simulator_ && traffic_.chance(0.003)) simulator_->set(traffic_.simulatorSwitch());

  if (traffic_.chance(0.003)) {
    const int times = traffic_.between(1, 3);
    engine::failCreateSoundBuffer(traffic_.deviceFailure(), times);
    model_.faults.createFailures = times;
  }
  if (traffic_.chance(0.003)) {
    const int times = traffic_.between(1, 2);
    engine::failLock(traffic_.deviceFailure(), times);
    model_.faults.lockFailures = times;
  }
  if (traffic_.chance(0.004)) {
    const std::vector<HRESULT> answers = traffic_.restoreAnswers();
    engine::answerRestore(answers);
    model_.faults.restoreAnswers.assign(answers.begin(), answers.end());
  }
  if (traffic_.chance(0.01)) loseABuffer();
  if (traffic_.chance(0.003)) {
    placeFile(traffic_.between(0, static_cast<int>(paths_.size()) - 1), traffic_.fileKind());
  }
}

void ProtocolSoak::loseABuffer() {
  const std::vector<engine::BufferView> live = engine::buffers();
  if (live.empty()) return;
  const auto k = static_cast<std::size_t>(traffic_.between(0, static_cast<int>(live.size()) - 1));
  if (!engine::loseBuffer(live[k].buffer)) {
    fail("a live buffer could not be lost");
    return;
  }
  if (k < known_.size() && known_[k] == live[k].buffer) model_.lose(owners_[k]);
}

void ProtocolSoak::frame() {
  ++frame_;
  disturb();
  const host::NamedVariables& variables = host_->variables();
  Variables expected(variables.names().size());
  for (std::size_t id = 0; id < expected.size(); ++id) {
    expected[id] = variables.get(static_cast<std::int32_t>(id));
  }
  const std::uint32_t simulatorSwitch = simulator_ ? simulator_->value() : 0;
  model_.frame(expected, simulator_ ? &simulatorSwitch : nullptr);
  host_->service(abi::kPreUpdate);
  checkVariables(expected);
  checkBuffers();
  if (platform::openRiffFiles() != model_.heldFiles()) {
    fail("WAV files open: " + std::to_string(platform::openRiffFiles()) + ", expected " +
         std::to_string(model_.heldFiles()));
  }
  if (platform::sleepsSoFar() - pausesAtStart_ != model_.pauses) {
    fail("pauses while restoring: " + std::to_string(platform::sleepsSoFar() - pausesAtStart_) +
         ", expected " + std::to_string(model_.pauses));
    pausesAtStart_ = platform::sleepsSoFar() - model_.pauses;
  }
  engine::advance(kFrameSeconds);
  followDevice();
}

void ProtocolSoak::checkVariables(const Variables& expected) {
  const host::NamedVariables& variables = host_->variables();
  for (std::size_t id = 0; id < expected.size(); ++id) {
    const double actual = variables.get(static_cast<std::int32_t>(id));
    if (!same(actual, expected[id])) {
      fail(variables.names()[id] + " holds " + describe(actual) + ", expected " +
           describe(expected[id]));
    }
  }
}

// The device's buffers right after the frame: the ones made before it, in
// their order, then one for each sound the frame loaded, each showing the
// play state, volume and pan the protocol gave it.
void ProtocolSoak::checkBuffers() {
  const std::vector<engine::BufferView> live = engine::buffers();
  const std::size_t before = known_.size();
  if (live.size() != before + model_.created.size()) {
    fail("the device holds " + std::to_string(live.size()) + " buffers, expected " +
         std::to_string(before + model_.created.size()));
    return;
  }
  for (std::size_t k = 0; k < live.size(); ++k) {
    if (k < before) {
      if (live[k].buffer != known_[k]) return fail("a buffer was let go in a frame");
    } else {
      const int sound = model_.created[k - before];
      known_.push_back(live[k].buffer);
      owners_.push_back(sound);
      model_.sounds[static_cast<std::size_t>(sound)].buffer = live[k].buffer;
    }
    const ModelSound& sound = model_.sounds[static_cast<std::size_t>(owners_[k])];
    const engine::BufferView& view = live[k];
    const std::string who = "sound " + std::to_string(owners_[k]) + "'s buffer ";
    const bool playing = (view.status & DSBSTATUS_PLAYING) != 0;
    if (playing != sound.playing) fail(who + (playing ? "plays" : "does not play"));
    if (playing && ((view.status & DSBSTATUS_LOOPING) != 0) != sound.looping) {
      fail(who + (sound.looping ? "plays once instead of looping" : "loops"));
    }
    if (((view.status & DSBSTATUS_BUFFERLOST) != 0) != sound.lost) {
      fail(who + (sound.lost ? "was restored" : "is lost"));
    }
    if (view.volume != sound.bufferVolume) {
      fail(who + "volume " + std::to_string(view.volume) + ", expected " +
           std::to_string(sound.bufferVolume));
    }
    if (view.pan != sound.bufferPan) {
      fail(who + "pan " + std::to_string(view.pan) + ", expected " +
           std::to_string(sound.bufferPan));
    }
    if (view.bytes != sound.bytes) fail(who + "size " + std::to_string(view.bytes));
    if (sound.rewound && view.playPosition != 0) fail(who + "was not rewound");
  }
}

// Time has passed: a one-shot may have reached its end. Nothing else may
// change by itself.
void ProtocolSoak::followDevice() {
  const std::vector<engine::BufferView> live = engine::buffers();
  for (std::size_t k = 0; k < live.size() && k < known_.size(); ++k) {
    const ModelSound& sound = model_.sounds[static_cast<std::size_t>(owners_[k])];
    const bool playing = (live[k].status & DSBSTATUS_PLAYING) != 0;
    if (sound.playing && !playing) {
      if (sound.looping) fail("sound " + std::to_string(owners_[k]) + "'s loop stopped by itself");
      model_.ended(owners_[k]);
    }
  }
}

void ProtocolSoak::runFrames(long count) {
  for (long i = 0; i < count && !failed(); ++i) frame();
}

// Nothing of the panel's sounds outlives a disconnect: no buffer, no device,
// no open WAV file, no block of the module's heap.
void ProtocolSoak::checkAllLetGo(const char* when) {
  const std::string after = std::string(" ") + when;
  if (!engine::buffers().empty()) fail("buffers left" + after);
  if (engine::liveDevices() != 0) fail("a device left" + after);
  if (platform::openRiffFiles() != 0) fail("WAV files open" + after);
  if (filesOpenBelow(root_.path()) != 0) fail("files open below the panel's folder" + after);
  if (heapUse().blocks != heapBlocksAtStart_) fail("module heap blocks held" + after);
}

void ProtocolSoak::cycle() {
  host_->disconnect();
  model_.disconnect();
  known_.clear();
  owners_.clear();
  checkAllLetGo("after a disconnect");
  // Now and then the sound device cannot be opened: every sound then loads
  // without a buffer.
  const bool deviceOpens = !traffic_.chance(0.1);
  if (!deviceOpens) engine::failDirectSoundCreate(DSERR_NODRIVER, 1);
  host_->service(abi::kPreInstall);
  model_.preInstall(deviceOpens, simulator_ != nullptr);
  if (engine::liveDevices() != (deviceOpens ? 1u : 0u)) fail("devices after pre-install");
  host_->service(abi::kConnectToWindow);
  runFrames(traffic_.between(0, 40));
}

void ProtocolSoak::takeDown() {
  host_->disconnect();
  model_.disconnect();
  known_.clear();
  owners_.clear();
  checkAllLetGo("at the end");
  host_.reset();
  simulator_.reset();
}

}  // namespace vorlanex::soak
