// What the module relies on from DirectSound, written once against its own
// interfaces: natively it runs on the portable engine, on the win32 build on
// Windows' DirectSound (Wine's here), so the engine cannot drift from it.
// Only what needs no waiting on the device's clock is checked here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "sound_api.h"
#include "support/test_platform.h"

namespace {

WAVEFORMATEX pcm(WORD channels, DWORD rate, WORD bits) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = bits;
  f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

class DirectSoundContract : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DirectSoundCreate(nullptr, &device_, nullptr), DS_OK);
    EXPECT_EQ(device_->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
  }
  void TearDown() override {
    for (IDirectSoundBuffer* buffer : buffers_) buffer->Release();
    device_->Release();
  }

  HRESULT create(const DSBUFFERDESC& desc, IDirectSoundBuffer** buffer) {
    *buffer = nullptr;
    const HRESULT result = device_->CreateSoundBuffer(&desc, buffer, nullptr);
    if (*buffer != nullptr) buffers_.push_back(*buffer);
    return result;
  }
  IDirectSoundBuffer* create(WAVEFORMATEX& format, DWORD bytes, DWORD flags) {
    const DSBUFFERDESC desc{sizeof desc, flags, bytes, 0, &format, {}};
    IDirectSoundBuffer* buffer;
    EXPECT_EQ(create(desc, &buffer), DS_OK);
    return buffer;
  }

  IDirectSound* device_ = nullptr;
  std::vector<IDirectSoundBuffer*> buffers_;
};

constexpr DWORD kModuleFlags = DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

TEST_F(DirectSoundContract, Descriptor) {
  struct Case {
    const char* what;
    std::function<void(DSBUFFERDESC&, WAVEFORMATEX&)> change;
    HRESULT expected;
  } cases[] = {
      {"the module's", [](auto&, auto&) {}, DS_OK},
      {"dwSize + 4", [](auto& d, auto&) { d.dwSize += 4; }, DSERR_INVALIDPARAM},
      {"no format", [](auto& d, auto&) { d.lpwfxFormat = nullptr; }, DSERR_INVALIDPARAM},
      {"ADPCM", [](auto&, auto& f) { f.wFormatTag = 2; }, E_NOTIMPL},
      {"12 bits", [](auto&, auto& f) { f.wBitsPerSample = 12; }, DSERR_INVALIDPARAM},
      {"no channels", [](auto&, auto& f) { f.nChannels = 0; }, DSERR_INVALIDPARAM},
      {"rate 0", [](auto&, auto& f) { f.nSamplesPerSec = 0; }, DSERR_INVALIDPARAM},
      {"byte rate 0", [](auto&, auto& f) { f.nAvgBytesPerSec = 0; }, DSERR_INVALIDPARAM},
      {"byte rate wrong", [](auto&, auto& f) { f.nAvgBytesPerSec = 1234; }, DS_OK},
      {"block align wrong", [](auto&, auto& f) { f.nBlockAlign = 3; }, DSERR_INVALIDPARAM},
      {"24-bit stereo", [](auto&, auto& f) { f = pcm(2, 44100, 24); }, DS_OK},
      {"0 bytes", [](auto& d, auto&) { d.dwBufferBytes = 0; }, DSERR_INVALIDPARAM},
      {"3 bytes", [](auto& d, auto&) { d.dwBufferBytes = 3; }, DSERR_INVALIDPARAM},
      {"0x10000000 bytes", [](auto& d, auto&) { d.dwBufferBytes = 0x10000000; },
       DSERR_INVALIDPARAM},
  };
  for (const Case& c : cases) {
    WAVEFORMATEX format = pcm(1, 22050, 16);
    DSBUFFERDESC desc{sizeof desc, kModuleFlags, 1000, 0, &format, {}};
    c.change(desc, format);
    IDirectSoundBuffer* buffer;
    EXPECT_EQ(create(desc, &buffer), c.expected) << c.what;
    EXPECT_EQ(buffer == nullptr, FAILED(c.expected)) << c.what;
  }
}

TEST_F(DirectSoundContract, NewBufferHoldsSilenceAndRoundsItsSize) {
  for (WORD bits : {8, 16}) {
    WAVEFORMATEX format = pcm(2, 22050, bits);
    IDirectSoundBuffer* buffer = create(format, 1001, kModuleFlags);
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_EQ(buffer->GetCaps(&caps), DS_OK);
    const DWORD size = bits == 8 ? 1002 : 1004;
    EXPECT_EQ(caps.dwBufferBytes, size);
    void* p1;
    void* p2;
    DWORD n1;
    DWORD n2;
    ASSERT_EQ(buffer->Lock(0, size, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, size);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    const auto* bytes = static_cast<const std::uint8_t*>(p1);
    EXPECT_EQ(std::count(bytes, bytes + n1, bits == 8 ? 0x80 : 0), static_cast<long>(size));
    EXPECT_EQ(buffer->Unlock(p1, n1, nullptr, 0), DS_OK);
    DWORD status = 7;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
  }
}

TEST_F(DirectSoundContract, LockChecks) {
  WAVEFORMATEX format = pcm(1, 22050, 16);
  IDirectSoundBuffer* buffer = create(format, 1000, kModuleFlags);
  void* p1;
  DWORD n1;
  EXPECT_EQ(buffer->Lock(1000, 2, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(0, 1002, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  ASSERT_EQ(buffer->Lock(0, 1000, &p1, &n1, nullptr, nullptr, 0), DS_OK);
  static std::uint8_t elsewhere[16];
  EXPECT_EQ(buffer->Unlock(elsewhere, 16, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(p1, n1, nullptr, 0), DS_OK);
}

TEST_F(DirectSoundContract, VolumeAndPan) {
  WAVEFORMATEX format = pcm(1, 22050, 16);
  IDirectSoundBuffer* buffer = create(format, 1000, kModuleFlags);
  LONG value = 1;
  EXPECT_EQ(buffer->GetVolume(&value), DS_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(buffer->SetVolume(-600), DS_OK);
  EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->GetVolume(&value), DS_OK);
  EXPECT_EQ(value, -600);
  EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetPan(-2000), DS_OK);
  EXPECT_EQ(buffer->GetPan(&value), DS_OK);
  EXPECT_EQ(value, -2000);

  IDirectSoundBuffer* bare = create(format, 1000, DSBCAPS_STATIC);
  EXPECT_EQ(bare->SetVolume(-600), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetVolume(5), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetPan(100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetPan(-10001), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundContract, PlayStopAndPosition) {
  WAVEFORMATEX format = pcm(2, 22050, 16);
  IDirectSoundBuffer* buffer = create(format, 88200, kModuleFlags);
  DWORD status = 0;
  DWORD position = 1;
  // Windows refuses a position past the end, and so does the engine; Wine
  // takes it modulo the buffer's size.
  if (!vorlanex::test::runsUnderWine()) {
    EXPECT_EQ(buffer->SetCurrentPosition(88200), DSERR_INVALIDPARAM);
  }
  ASSERT_EQ(buffer->SetCurrentPosition(1003), DS_OK);
  ASSERT_EQ(buffer->GetCurrentPosition(&position, nullptr), DS_OK);
  EXPECT_EQ(position, 1000u);

  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
  EXPECT_EQ(status, DSBSTATUS_PLAYING);
  ASSERT_EQ(buffer->Stop(), DS_OK);
  EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
  EXPECT_EQ(status, 0u);
  // Stopped, it stays where it stopped.
  DWORD again = 0;
  ASSERT_EQ(buffer->GetCurrentPosition(&position, nullptr), DS_OK);
  ASSERT_EQ(buffer->GetCurrentPosition(&again, nullptr), DS_OK);
  EXPECT_EQ(again, position);
  EXPECT_EQ(position % 4, 0u);
}

}  // namespace
