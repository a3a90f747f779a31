// The engine's controls: injected faults, call counters, the clocks and the
// sinks.
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "engine/engine_fixture.h"

namespace vorlanex::engine::test {
namespace {

constexpr Encoding kPcm16{16, false};

Signal level(double value) {
  return [=](std::size_t, unsigned) { return value; };
}

// Polls `done` until it holds or `limit` passes; true when it held.
template <typename Condition>
bool waitFor(Condition done, std::chrono::seconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

using Control = EngineTest;

TEST_F(Control, DirectSoundCreateFails) {
  failDirectSoundCreate(DSERR_NODRIVER);
  IDirectSound* other = device_;  // must come back null
  EXPECT_EQ(DirectSoundCreate(nullptr, &other, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(other, nullptr);
  ASSERT_EQ(DirectSoundCreate(nullptr, &other, nullptr), DS_OK);  // only the next call failed
  other->Release();

  failDirectSoundCreate(DSERR_ALLOCATED, kEveryCall);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(DirectSoundCreate(nullptr, &other, nullptr), DSERR_ALLOCATED);
  failDirectSoundCreate(DS_OK, 0);
  ASSERT_EQ(DirectSoundCreate(nullptr, &other, nullptr), DS_OK);
  other->Release();

  const GUID elsewhere = {1, 2, 3, {4}};
  EXPECT_EQ(DirectSoundCreate(&elsewhere, &other, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(DirectSoundCreate(&GUID_NULL, &other, reinterpret_cast<IUnknown*>(device_)),
            DSERR_NOAGGREGATION);
  EXPECT_EQ(device_->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
}

TEST_F(Control, CreateSoundBufferFailsForTheNextCalls) {
  failCreateSoundBuffer(DSERR_ALLOCATED, 2);
  const WAVEFORMATEX format = waveFormat(kPcm16, 1, 22050);
  DSBUFFERDESC desc{sizeof desc, kControls, 100, 0, const_cast<WAVEFORMATEX*>(&format), {}};
  for (HRESULT expected : {DSERR_ALLOCATED, DSERR_ALLOCATED, DS_OK}) {
    IDirectSoundBuffer* buffer = reinterpret_cast<IDirectSoundBuffer*>(&desc);
    EXPECT_EQ(device_->CreateSoundBuffer(&desc, &buffer, nullptr), expected);
    EXPECT_EQ(buffer != nullptr, expected == DS_OK);
    if (buffer != nullptr) buffer->Release();
  }
}

TEST_F(Control, LockFails) {
  IDirectSoundBuffer* buffer = create(waveFormat(kPcm16, 1, 22050), 100);
  failLock(DSERR_INVALIDCALL);
  void* part = buffer;
  DWORD size = 7;
  EXPECT_EQ(buffer->Lock(0, 100, &part, &size, nullptr, nullptr, 0), DSERR_INVALIDCALL);
  EXPECT_EQ(part, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(buffer->Lock(0, 100, &part, &size, nullptr, nullptr, 0), DS_OK);
  EXPECT_EQ(buffer->Unlock(part, size, nullptr, 0), DS_OK);
}

TEST_F(Control, LostBufferUntilRestored) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 48000), 4800, level(0.5));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_TRUE(loseBuffer(buffer));
  EXPECT_EQ(status(buffer), DSBSTATUS_BUFFERLOST);
  EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
  void* part;
  DWORD size;
  EXPECT_EQ(buffer->Lock(0, 100, &part, &size, nullptr, nullptr, 0), DSERR_BUFFERLOST);
  EXPECT_EQ(mix(1)[0], 0.0f);

  answerRestore({DSERR_BUFFERLOST, DSERR_BUFFERLOST, DSERR_INVALIDCALL});
  EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
  EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
  EXPECT_EQ(buffer->Restore(), DSERR_INVALIDCALL);
  EXPECT_EQ(status(buffer), DSBSTATUS_BUFFERLOST);
  EXPECT_EQ(buffer->Restore(), DS_OK);
  EXPECT_EQ(status(buffer), 0u);
  EXPECT_EQ(buffer->Restore(), DS_OK);

  // Its memory came back as silence, to be filled again.
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(mix(1)[0], 0.0f);
  ASSERT_EQ(buffer->Lock(0, 2, &part, &size, nullptr, nullptr, 0), DS_OK);
  EXPECT_EQ(*static_cast<std::int16_t*>(part), 0);
  EXPECT_EQ(buffer->Unlock(part, size, nullptr, 0), DS_OK);
  EXPECT_FALSE(loseBuffer(reinterpret_cast<IDirectSoundBuffer*>(&size)));
}

// Every call is counted under its own name, whatever it answers, and
// nothing else is: mixing, views and controls make no DirectSound call.
TEST_F(Control, EveryCallIsCounted) {
  IDirectSoundBuffer* buffer = create(waveFormat(kPcm16, 2, 22050), 400);
  reset();
  EXPECT_EQ(totalCalls(), 0u);
  useMemorySink();
  advance(0.1);
  buffers();
  EXPECT_EQ(totalCalls(), 0u);

  DWORD value;
  LONG level;
  void* part;
  DWORD size;
  void* object;
  const WAVEFORMATEX format = waveFormat(kPcm16, 1, 22050);
  const DSBUFFERDESC desc{sizeof desc, 0, 100, 0, const_cast<WAVEFORMATEX*>(&format), {}};
  const std::pair<Call, std::function<void()>> calls[] = {
      {Call::DirectSoundCreate, [&] { DirectSoundCreate(nullptr, nullptr, nullptr); }},
      {Call::DeviceQueryInterface,
       [&] { device_->QueryInterface(IID_IDirectSoundBuffer, nullptr); }},
      {Call::DeviceAddRef, [&] { device_->AddRef(); }},
      {Call::DeviceRelease, [&] { device_->Release(); }},
      {Call::CreateSoundBuffer, [&] { device_->CreateSoundBuffer(&desc, nullptr, nullptr); }},
      {Call::DeviceGetCaps, [&] { device_->GetCaps(nullptr); }},
      {Call::DuplicateSoundBuffer, [&] { device_->DuplicateSoundBuffer(buffer, nullptr); }},
      {Call::SetCooperativeLevel, [&] { device_->SetCooperativeLevel(nullptr, 0); }},
      {Call::Compact, [&] { device_->Compact(); }},
      {Call::GetSpeakerConfig, [&] { device_->GetSpeakerConfig(&value); }},
      {Call::SetSpeakerConfig, [&] { device_->SetSpeakerConfig(0); }},
      {Call::DeviceInitialize, [&] { device_->Initialize(nullptr); }},
      {Call::BufferQueryInterface, [&] { buffer->QueryInterface(IID_IDirectSound, &object); }},
      {Call::BufferAddRef, [&] { buffer->AddRef(); }},
      {Call::BufferRelease, [&] { buffer->Release(); }},
      {Call::BufferGetCaps, [&] { buffer->GetCaps(nullptr); }},
      {Call::GetCurrentPosition, [&] { buffer->GetCurrentPosition(&value, &value); }},
      {Call::GetFormat, [&] { buffer->GetFormat(nullptr, 0, &value); }},
      {Call::GetVolume, [&] { buffer->GetVolume(&level); }},
      {Call::GetPan, [&] { buffer->GetPan(&level); }},
      {Call::GetFrequency, [&] { buffer->GetFrequency(&value); }},
      {Call::GetStatus, [&] { buffer->GetStatus(&value); }},
      {Call::BufferInitialize, [&] { buffer->Initialize(device_, &desc); }},
      {Call::Lock, [&] { buffer->Lock(0, 4, &part, &size, nullptr, nullptr, 0); }},
      {Call::Play, [&] { buffer->Play(0, 0, 0); }},
      {Call::SetCurrentPosition, [&] { buffer->SetCurrentPosition(0); }},
      {Call::SetFormat, [&] { buffer->SetFormat(&format); }},
      {Call::SetVolume, [&] { buffer->SetVolume(0); }},
      {Call::SetPan, [&] { buffer->SetPan(0); }},
      {Call::SetFrequency, [&] { buffer->SetFrequency(22050); }},
      {Call::Stop, [&] { buffer->Stop(); }},
      {Call::Unlock, [&] { buffer->Unlock(part, size, nullptr, 0); }},
      {Call::Restore, [&] { buffer->Restore(); }},
  };
  ASSERT_EQ(std::size(calls), static_cast<std::size_t>(Call::Count));
  std::uint64_t total = 0;
  for (const auto& [call, make] : calls) {
    make();
    ++total;
    EXPECT_EQ(callCount(call), 1u) << callName(call);
    EXPECT_EQ(totalCalls(), total) << callName(call);
  }
}

TEST_F(Control, VirtualClockAddsUpExactly) {
  for (int i = 0; i < 18; ++i) ASSERT_TRUE(advance(1.0 / 18));
  EXPECT_EQ(elapsedFrames(), 48000u);
  for (int i = 0; i < 3 * 1000; ++i) ASSERT_TRUE(advance(1.0 / 3));
  EXPECT_EQ(elapsedFrames(), 48000u * 1001);
  for (int i = 0; i < 441; ++i) ASSERT_TRUE(advance(1.0 / 44100));
  EXPECT_EQ(elapsedFrames(), 48000u * 1001 + 480);
  EXPECT_EQ(mixedOutput().size(), 2u * elapsedFrames());
  EXPECT_FALSE(advance(-1));
  EXPECT_FALSE(advance(NAN));
  reset();
  EXPECT_EQ(elapsedFrames(), 0u);
}

TEST_F(Control, WavFileSink) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("vorlanex-engine-" + std::to_string(::getpid()) + ".wav");
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 48000), 480, level(0.5));
  ASSERT_EQ(buffer->SetPan(-2000), DS_OK);
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_TRUE(useWavFileSink(path.string())) << sinkError();
  ASSERT_TRUE(advance(0.5));
  useNoSink();  // completes the file
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(info.samplerate, 48000);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.frames, 24000);
  float frame[2];
  EXPECT_EQ(sf_readf_float(file, frame, 1), 1);
  EXPECT_FLOAT_EQ(frame[0], 0.5f);
  EXPECT_FLOAT_EQ(frame[1], 0.05f);
  sf_close(file);
  std::filesystem::remove(path);

  EXPECT_FALSE(useWavFileSink("/nonexistent-folder/out.wav"));
  EXPECT_NE(sinkError().find("/nonexistent-folder/out.wav"), std::string::npos);
}

// The clock's thread keeps up with the wall clock: what it delivered over
// about a second is within 5 % of what the wall clock says.
TEST_F(Control, RealTimeClockKeepsPace) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 22050), 22050, level(0.5));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_TRUE(startRealTime());
  EXPECT_FALSE(startRealTime());
  EXPECT_FALSE(advance(0.1));
  // Measured from when the thread is under way, against the wall clock.
  ASSERT_TRUE(waitFor([] { return elapsedFrames() > 0; }, std::chrono::seconds(20)));
  const auto wallStart = std::chrono::steady_clock::now();
  const std::uint64_t framesStart = elapsedFrames();
  ASSERT_TRUE(waitFor([&] { return elapsedFrames() >= framesStart + kOutputRate; },
                      std::chrono::seconds(20)));
  const std::uint64_t delivered = elapsedFrames() - framesStart;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  stopRealTime();
  EXPECT_NEAR(delivered / (wall * kOutputRate), 1.0, 0.05) << delivered << " frames in " << wall;
  EXPECT_EQ(mixedOutput().size(), 2 * elapsedFrames());
  EXPECT_TRUE(advance(0.1));  // back on the virtual clock
}

// The system's playback device, on a machine without a sound card: ALSA's
// null device stands in, as the only device of a configuration of our own.
TEST_F(Control, DeviceSinkOnAlsaNullDevice) {
  const auto config = std::filesystem::temp_directory_path() /
                      ("vorlanex-engine-alsa-" + std::to_string(::getpid()) + ".conf");
  std::ofstream(config) << "pcm.!default { type null }\n";
  ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
  ::setenv("JACK_NO_START_SERVER", "1", 1);

  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 2, 44100), 44100, level(0.5));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_TRUE(useDeviceSink()) << sinkError();
  ASSERT_TRUE(startRealTime());
  EXPECT_TRUE(waitFor([] { return elapsedFrames() >= kOutputRate / 5; }, std::chrono::seconds(20)));
  useNoSink();  // with the clock running: it goes on without a sink
  EXPECT_TRUE(realTimeRunning());
  stopRealTime();
  // Later probes in this process must find the machine's own configuration.
  ::unsetenv("ALSA_CONFIG_PATH");
  std::filesystem::remove(config);
}

// Looking for a device prints nothing of its own, whether this machine has
// one or not (ALSA and JACK would report every device and server they cannot
// reach): what went wrong is told by sinkError() alone.
TEST_F(Control, DeviceSinkProbesQuietly) {
  std::fflush(stderr);
  const int saved = ::dup(2);
  std::FILE* captured = std::tmpfile();
  ASSERT_NE(captured, nullptr);
  ::dup2(::fileno(captured), 2);
  const bool toldWhy = useDeviceSink() || !sinkError().empty();
  useNoSink();
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  std::fseek(captured, 0, SEEK_END);
  EXPECT_EQ(std::ftell(captured), 0) << "printed while looking for a device";
  std::fclose(captured);
  EXPECT_TRUE(toldWhy);
}

}  // namespace
}  // namespace vorlanex::engine::test
