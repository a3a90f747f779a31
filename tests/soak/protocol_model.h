// An account of what the module must do with a panel's variables, kept apart
// from the module's code: its own picture of every sound (loaded, started,
// status, and the buffer as the sound device should show it) and of the
// faults a test armed in the device, worked through in the order the command
// protocol gives. The soak holds the module against it after every frame.
#pragma once

#include <vorlanex_engine/dsound.h>

#include <cstdint>
#include <deque>
#include <vector>

namespace vorlanex::soak {

// What a sound's WAV path holds when the module looks for it.
enum class FileKind {
  kMissing,    // nothing there
  kFolder,     // a folder of that name, which counts as missing
  kNotWave,    // a file without a RIFF/WAVE header: nothing is kept open
  kNoData,     // RIFF/WAVE without sample data: no buffer, the file let go
  kRefused,    // a format the device refuses: no buffer, the file let go
  kShortData,  // ends inside its "data" chunk: a buffer of what it holds
  kValid,
};
constexpr int kFileKinds = 7;

struct SoundFile {
  FileKind kind = FileKind::kMissing;
  std::uint32_t dataBytes = 0;  // the sample bytes it holds, in whole frames
};

// The panel's variables, by the host's ids.
using Variables = std::vector<double>;

struct ModelSound {
  // From the configuration.
  std::int32_t variable = -1;
  int file = -1;     // index into ProtocolModel::files
  float volume = 0;  // stored volume, hundredths of a decibel

  // The protocol's own state.
  bool loaded = false;
  int started = 0;
  int status = 0;

  // The sound's buffer as the device should show it.
  bool hasBuffer = false;
  IDirectSoundBuffer* buffer = nullptr;  // filled in by the soak once the device shows it
  std::uint32_t bytes = 0;
  bool playing = false;
  bool looping = false;
  bool lost = false;
  bool filled = false;  // false after a fill that failed, until one succeeds
  LONG bufferVolume = 0;
  LONG bufferPan = 0;
  bool rewound = false;  // stopped and rewound in the last frame

  // The sound's reader holds its file open while the sound has a buffer.
  bool readerHeld = false;
};

// Faults armed in the device, spent call by call as the device spends them.
struct DeviceFaults {
  int createFailures = 0;
  int lockFailures = 0;
  std::deque<HRESULT> restoreAnswers;
};

struct StatusIds {
  std::int32_t stopAll = -1;
  std::int32_t volumePlayed = -1;
  std::int32_t masterVolume = -1;
  std::int32_t indicator = -1;
};

// The 32-bit integer a panel value stands for: its integer part taken modulo
// 2^32 as a two's-complement number; NaN and magnitudes from 2^63 up give 0.
std::int32_t panelInteger(double value);

// A command code and pan; code -1 is no command at all.
struct Command {
  int code;
  std::int32_t pan;
};
Command commandOf(std::int32_t n);

// A buffer volume in percent, the quotient truncated toward zero.
double percentOf(LONG hundredths);

// How often each path of the protocol was taken: what a run exercised.
struct Tally {
  long playedOnce = 0;
  long looped = 0;
  long handedBack = 0;    // a one-shot's end told to its gauge
  long loopRefusals = 0;  // code 1 while a loop runs
  long missing = 0;       // the error value for a file not there
  long unplayable = 0;    // the error value for a file that gave no buffer
  long stops = 0;
  long stopAlls = 0;
  long volumesApplied = 0;
  long volumesReported = 0;
  long switchChanges = 0;
  long restored = 0;
  long lost = 0;     // buffers the device lost
  long givenUp = 0;  // a lost buffer not back after all the passes
  long failedPlays = 0;  // a play given up or refilled in vain: told like a missing file
  long failedCreates = 0;
  long failedFills = 0;
};

// Its own copy of the protocol's rules, kept on purpose as an independent check of the module.
class ProtocolModel {
 public:
  std::vector<ModelSound> sounds;
  std::vector<SoundFile> files;
  StatusIds ids;
  double errorValue = 0;
  DeviceFaults faults;
  bool deviceOpen = false;
  // Whether the module holds the handle of the simulator's module, which it
  // takes at pre-install and, while it has none, seeks again each frame for
  // the next one.
  bool simulatorFound = false;
  std::int32_t lastSoundState = -1;

  // Sounds whose buffers the last frame created, in the order it did.
  std::vector<int> created;
  // Pauses of the restore loop so far.
  unsigned pauses = 0;
  Tally tally;

  // One pre-update: `vars` go in as the gauges left them and come out as the
  // module must leave them. `simulatorSwitch` is the 32-bit switch value, or
  // null while the simulator's module is not loaded.
  void frame(Variables& vars, const std::uint32_t* simulatorSwitch);
  // Disconnect: every sound let go and marked not loaded, the device closed.
  void disconnect();
  void preInstall(bool deviceOpens, bool simulatorLoaded) {
    deviceOpen = deviceOpens;
    simulatorFound = simulatorLoaded;
  }
  // The device lost the sound's buffer: it stops.
  void lose(int sound);
  // The device shows a one-shot ended: `sound` no longer plays.
  void ended(int sound);
  // Files the module should hold open now.
  int heldFiles() const;

 private:
  void scan(int index, Variables& vars);
  bool ensureLoaded(int index, int code, Variables& vars);
  void load(ModelSound& sound);
  bool fill(ModelSound& sound);
  bool makePlayable(ModelSound& sound);
  bool restore(ModelSound& sound);
  void start(ModelSound& sound, std::int32_t pan, bool looping, Variables& vars);
  void unplayable(ModelSound& sound, Variables& vars);
  // The sound's own volumes are heard with the simulator's sound on, and
  // where its switch has never been read.
  bool storedVolumesHeard() const { return lastSoundState == 1 || lastSoundState == -1; }
  void stop(ModelSound& sound);
  void setBufferVolume(ModelSound& sound, std::int32_t hundredths);
  void stopAll(Variables& vars);
  void followSwitch(const std::uint32_t* simulatorSwitch, Variables& vars);
  // What asking the device whether the sound plays answers, taken as a
  // yes or no: a sound without a buffer counts as playing.
  static bool answersPlaying(const ModelSound& sound) { return !sound.hasBuffer || sound.playing; }
};

}  // namespace vorlanex::soak
