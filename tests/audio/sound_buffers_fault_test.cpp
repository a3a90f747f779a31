// Every way loading, playing and restoring a sound can fail, driven for real:
// faults injected into our sound engine and our RIFF seam, malformed and
// missing files on disk. Each ends in the state the module promises, checked
// through the engine's counters and views rather than by trusting the module.
#include <gtest/gtest.h>
#include <vorlanex_engine/engine_control.h>

#include <cstdio>
#include <string>

#include "audio/audio_device.h"
#include "audio/module_heap.h"
#include "audio/sound_buffers.h"
#include "audio/wave_reader.h"
#include "commands/sound_device.h"
#include "platform/portable/riff_file_faults.h"
#include "platform/window_and_sleep.h"
#include "support/sine_wave.h"
#include "support/temp_folder.h"
#include "wave_bytes.h"

namespace vorlanex {
namespace {

// The sounds and the device under test, as a module state holds them.
constexpr int kSounds = 100;
SoundBuffer sounds[kSounds];
IDirectSound* device = nullptr;

using engine::Call;
using engine::callCount;
using engine::totalCalls;
using namespace wavebytes;

const test::SineFile kSine{1, 22050, 16, 0.25};

class SoundBufferFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::reset();
    platform::resetRiffFaults();
    ASSERT_EQ(openDevice(device), kOk);
    engine::reset();  // count only what the sound operations do
    root_.write("Sound/sine.wav", test::sineWave(kSine));
    root_.write("Sound/other.wav", test::sineWave({2, 44100, 8, 0.1}));
    heapAtStart_ = heapUse();
  }
  void TearDown() override {
    for (int i = 0; i < kSounds; ++i) releaseSound(sounds[i]);
    closeDevice(device);
    engine::reset();
    EXPECT_EQ(engine::buffers().size(), 0u);
    EXPECT_EQ(engine::liveDevices(), 0u);
    EXPECT_EQ(platform::openRiffFiles(), 0) << "every WAV file closed";
    EXPECT_EQ(heapUse().blocks, heapAtStart_.blocks) << "every block given back";
  }

  // The sound's data as the buffer holds it.
  static std::string bufferBytes(int index) {
    void* first = nullptr;
    DWORD bytes = 0;
    IDirectSoundBuffer* buffer = sounds[index].buffer;
    EXPECT_EQ(buffer->Lock(0, 0, &first, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::string held(static_cast<const char*>(first), bytes);
    buffer->Unlock(first, bytes, nullptr, 0);
    return held;
  }

  test::TempFolder root_;
  HeapUse heapAtStart_{};
};

// A sound without a buffer answers for itself: DirectSound is never asked.
void expectNoBufferAndNoCall(int index) {
  EXPECT_EQ(sounds[index].buffer, nullptr);
  EXPECT_EQ(playState(sounds[index]), PlayState::kNoBuffer);
  EXPECT_EQ(playSound(sounds[index], false), kFail);
  stopSound(sounds[index], true);
  EXPECT_EQ(restoreBuffer(sounds[index]), kOk);
  EXPECT_EQ(setVolume(sounds[index], -600), kFail);
  EXPECT_EQ(setPan(sounds[index], 100), kFail);
  EXPECT_EQ(getVolume(sounds[index]), -10000);
  EXPECT_EQ(totalCalls(), 0u);
}

TEST_F(SoundBufferFaults, FilesThatGiveNoBufferAreNotHeldOpen) {
  root_.write("Sound/text.wav", "just some text, not a sound\n");
  root_.write("Sound/aiff.wav", "FORM\x20\0\0\0AIFFCOMM");
  root_.write("Sound/nodata.wav", riff("WAVE", chunk("fmt ", formatFields(1, 1, 22050, 16))));
  for (const char* path : {"./Sound/missing.wav", "./Sound/text.wav", "./Sound/aiff.wav",
                           "./Sound/nodata.wav"}) {
    EXPECT_EQ(loadSound(sounds[0], device, path), kFail) << path;
    EXPECT_EQ(platform::openRiffFiles(), 0) << path << ": nothing held";
    expectNoBufferAndNoCall(0);
  }
}

TEST_F(SoundBufferFaults, AFormatTheDeviceRefusesClosesTheFileAndReturnsTheDevicesCode) {
  struct Case {
    const char* name;
    std::string format;
    HRESULT code;
  } const cases[] = {
      {"three channels of plain PCM", formatFields(1, 3, 22050, 16), DSERR_INVALIDPARAM},
      {"12-bit samples", formatFields(1, 1, 22050, 12), DSERR_INVALIDPARAM},
      {"ADPCM", formatFields(2, 1, 22050, 4) + u16(0), E_NOTIMPL},
  };
  for (const Case& c : cases) {
    root_.write("Sound/refused.wav", wave(c.format, samplePattern(1000)));
    engine::reset();
    EXPECT_EQ(loadSound(sounds[1], device, "./Sound/refused.wav"), c.code) << c.name;
    EXPECT_EQ(callCount(Call::CreateSoundBuffer), 1u) << c.name;
    EXPECT_EQ(platform::openRiffFiles(), 0) << c.name << ": the file is let go";
    engine::reset();
    expectNoBufferAndNoCall(1);
  }
}

TEST_F(SoundBufferFaults, ACreateFailureInjectedIntoTheDeviceIsReturnedAsIs) {
  engine::failCreateSoundBuffer(DSERR_ALLOCATED);
  EXPECT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), DSERR_ALLOCATED);
  engine::reset();
  expectNoBufferAndNoCall(0);
}

// A fill the device fails leaves a buffer that would play silence: the play
// fills it first, and fails as the fill does rather than play it silent.
TEST_F(SoundBufferFaults, AFailedFillIsMadeGoodByThePlayOrFailsIt) {
  struct Case {
    const char* name;
    void (*arm)(int times);
    HRESULT code;
  };
  const Case cases[] = {
      {"Lock", [](int times) { engine::failLock(DSERR_INVALIDCALL, times); }, DSERR_INVALIDCALL},
      {"Unlock", [](int times) { engine::failUnlock(DSERR_OUTOFMEMORY, times); },
       DSERR_OUTOFMEMORY},
  };
  const std::string silence(test::sineDataBytes(kSine), '\0');
  for (const Case& c : cases) {
    c.arm(1);
    EXPECT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), c.code) << c.name;
    ASSERT_NE(sounds[0].buffer, nullptr) << c.name;
    EXPECT_EQ(playSound(sounds[0], false), kOk) << c.name;
    EXPECT_NE(bufferBytes(0), silence) << c.name << ": filled by the play";
    EXPECT_EQ(playState(sounds[0]), PlayState::kPlaying) << c.name;
    releaseSound(sounds[0]);

    c.arm(2);
    EXPECT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), c.code) << c.name;
    EXPECT_EQ(playSound(sounds[0], false), c.code) << c.name;
    EXPECT_EQ(playState(sounds[0]), PlayState::kStopped) << c.name;
    releaseSound(sounds[0]);
    engine::reset();
  }
}

// A status the device will not give is not taken for "stopped": a started
// one-shot would be handed back as ended while it plays.
TEST_F(SoundBufferFaults, AStatusTheDeviceWillNotGiveIsUnknown) {
  ASSERT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), kOk);
  ASSERT_EQ(playSound(sounds[0], false), kOk);
  engine::failGetStatus(E_FAIL);
  EXPECT_EQ(playState(sounds[0]), PlayState::kUnknown);
  EXPECT_EQ(playState(sounds[0]), PlayState::kPlaying);
  engine::failGetStatus(E_FAIL);
  EXPECT_EQ(playSound(sounds[0], false), E_FAIL) << "the restore's status query";
}

TEST_F(SoundBufferFaults, NoMemoryForTheCopyLeavesAnUnfilledBuffer) {
  failHeapAllocationAfter(3);  // the reader, its format, then the copy block
  EXPECT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), kOutOfMemory);
  failHeapAllocationAfter(0);
  ASSERT_NE(sounds[0].buffer, nullptr);
  EXPECT_EQ(callCount(Call::Lock), 0u);
  EXPECT_EQ(playSound(sounds[0], false), kOk);
}

TEST_F(SoundBufferFaults, NoDeviceLeavesTheSoundWithoutFileOrCall) {
  closeDevice(device);
  engine::reset();
  EXPECT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), DSERR_NODRIVER);
  EXPECT_EQ(platform::openRiffFiles(), 0);
  expectNoBufferAndNoCall(0);

  engine::failDirectSoundCreate(DSERR_NODRIVER);
  EXPECT_EQ(openDevice(device), DSERR_NODRIVER);
  EXPECT_EQ(device, nullptr);
  EXPECT_EQ(engine::liveDevices(), 0u);
}

TEST_F(SoundBufferFaults, LoadingALoadedSoundLetsGoOfItsOldFileAndBufferFirst) {
  ASSERT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), kOk);
  ASSERT_EQ(loadSound(sounds[0], device, "./Sound/other.wav"), kOk);
  const std::vector<engine::BufferView> live = engine::buffers();
  ASSERT_EQ(live.size(), 1u);
  EXPECT_EQ(live[0].format.nChannels, 2);
  EXPECT_EQ(live[0].format.wBitsPerSample, 8);
  EXPECT_EQ(live[0].bytes, test::sineDataBytes({2, 44100, 8, 0.1}));
  EXPECT_EQ(platform::openRiffFiles(), 1);
}

// A file shorter than its data chunk says: the first fill fails in its read
// (before it rewinds), so a refill after a loss reads only what is left. It
// copies no more than it read; the rest of the buffer is silence.
TEST_F(SoundBufferFaults, AFileCutShortPlaysWhatItHoldsAndIsRefilledAlike) {
  // 3001 of 4000 declared bytes of 16-bit mono: 1500 whole samples are there.
  const std::string samples = samplePattern(4000);
  root_.write("Sound/short.wav",
              riff("WAVE", chunk("fmt ", formatFields(1, 1, 22050, 16)) +
                               chunkHeader("data", 4000) + samples.substr(0, 3001)));
  EXPECT_EQ(loadSound(sounds[0], device, "./Sound/short.wav"), kOk);
  ASSERT_NE(sounds[0].buffer, nullptr);
  EXPECT_EQ(bufferBytes(0), samples.substr(0, 3000));

  ASSERT_TRUE(engine::loseBuffer(sounds[0].buffer));
  ASSERT_EQ(playSound(sounds[0], false), kOk);
  EXPECT_EQ(bufferBytes(0), samples.substr(0, 3000)) << "the refill reads the same bytes";
}

struct RestoreCase {
  const char* name;
  std::vector<HRESULT> answers;
  unsigned restores;  // Restore calls made
  unsigned pauses;
  HRESULT played;     // what playSound returns
};

TEST_F(SoundBufferFaults, ALostBufferIsRestoredRefilledAndPlayed) {
  const HRESULT lost = DSERR_BUFFERLOST;
  const std::vector<HRESULT> neverBack(300, lost);
  const std::vector<HRESULT> oddSuccess(300, 1);
  const RestoreCase cases[] = {
      {"back at once", {}, 2, 0, kOk},
      {"lost twice, then back", {lost, lost}, 4, 1, kOk},
      {"lost, paused, then back in the same pass", {lost, DS_OK}, 2, 1, kOk},
      {"other failures: no pause", {DSERR_INVALIDCALL, DSERR_INVALIDCALL}, 4, 0, kOk},
      {"never back: the play is given up", neverBack, 20, 10, lost},
      {"a success code that is not DS_OK is not enough", oddSuccess, 20, 0, lost},
  };
  for (const RestoreCase& c : cases) {
    ASSERT_EQ(loadSound(sounds[0], device, "./Sound/sine.wav"), kOk) << c.name;
    const std::string filled = bufferBytes(0);
    ASSERT_TRUE(engine::loseBuffer(sounds[0].buffer)) << c.name;
    engine::reset();
    engine::answerRestore(c.answers);
    const std::uint32_t pausesBefore = platform::sleepsSoFar();

    EXPECT_EQ(playSound(sounds[0], false), c.played) << c.name;
    EXPECT_EQ(callCount(Call::Restore), c.restores) << c.name;
    EXPECT_EQ(platform::sleepsSoFar() - pausesBefore, c.pauses) << c.name;
    if (c.played == kOk) {
      EXPECT_EQ(callCount(Call::Play), 1u) << c.name;
      EXPECT_EQ(playState(sounds[0]), PlayState::kPlaying) << c.name;
      EXPECT_EQ(bufferBytes(0), filled) << c.name << ": refilled from the rewound reader";
    } else {
      EXPECT_EQ(callCount(Call::Play), 0u) << c.name;
      EXPECT_EQ(callCount(Call::Lock), 0u) << c.name;
    }
    engine::answerRestore({});
  }
}

TEST_F(SoundBufferFaults, APreInstallWithSoundsLoadedKeepsTheirDevice) {
  ModuleState state(nullptr);  // no panel call is made here
  ASSERT_EQ(openSoundDevice(state), kOk);
  ASSERT_EQ(loadSound(state.sounds[0], state.device, "./Sound/sine.wav"), kOk);
  IDirectSound* first = state.device;
  EXPECT_EQ(openSoundDevice(state), kOk);
  EXPECT_EQ(state.device, first);
  EXPECT_EQ(callCount(Call::DirectSoundCreate), 1u);

  releaseSound(state.sounds[0]);
  EXPECT_EQ(openSoundDevice(state), kOk);
  EXPECT_EQ(callCount(Call::DirectSoundCreate), 2u);
  EXPECT_EQ(engine::liveDevices(), 2u) << "the test's and the state's: the old one was released";
  releaseAllSounds(state);
}

// The module keeps nothing of a sound's data once it is in the device's
// buffer: a loaded sound costs its reader and format block. A load holds the
// data once more, briefly, in the block it copies from.
TEST_F(SoundBufferFaults, ALoadedSoundCostsItsReaderAndFormatAndALoadItsDataOnce) {
  const std::uint32_t dataBytes = test::sineDataBytes(kSine);
  const std::size_t perSound = sizeof(WaveReader) + sizeof(WaveFormat);
  std::size_t peak = 0;
  for (int i = 0; i < kSounds; ++i) {
    const std::size_t before = heapUse().bytes;
    resetHeapPeak();
    ASSERT_EQ(loadSound(sounds[i], device, "./Sound/sine.wav"), kOk);
    EXPECT_EQ(heapUse().bytes - before, perSound);
    EXPECT_EQ(heapUse().peak - before, perSound + dataBytes);
    peak = heapUse().peak;
  }
  EXPECT_EQ(engine::buffers().size(), 100u);
  std::printf("100 sounds of %u data bytes: %zu module heap bytes each, %zu at the peak\n",
              dataBytes, perSound, peak);
  RecordProperty("module_heap_bytes_per_loaded_sound", static_cast<int>(perSound));
}

}  // namespace
}  // namespace vorlanex
