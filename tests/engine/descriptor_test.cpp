// Secondary buffers as DirectSound makes them: the checks of their
// description, in order, and what a new buffer holds.
#include <algorithm>

#include "engine/engine_fixture.h"

namespace vorlanex::engine::test {
namespace {

constexpr Encoding kPcm16{16, false};

class Descriptor : public EngineTest {
 protected:
  HRESULT createWith(const DSBUFFERDESC& desc, IDirectSoundBuffer** buffer) {
    static char sentinel;
    *buffer = reinterpret_cast<IDirectSoundBuffer*>(&sentinel);  // must come back null on failure
    const HRESULT result = device_->CreateSoundBuffer(&desc, buffer, nullptr);
    if (*buffer != nullptr) (*buffer)->Release();
    return result;
  }
};

TEST_F(Descriptor, ChecksInDirectSoundsOrder) {
  struct Case {
    const char* what;
    std::function<void(DSBUFFERDESC&, WAVEFORMATEXTENSIBLE&)> change;
    HRESULT expected;
  } cases[] = {
      {"valid", [](auto&, auto&) {}, DS_OK},
      {"dwSize short", [](auto& d, auto&) { d.dwSize -= 4; }, DSERR_INVALIDPARAM},
      {"dwSize long", [](auto& d, auto&) { d.dwSize += 4; }, DSERR_INVALIDPARAM},
      {"size checked before format",
       [](auto& d, auto& f) {
         d.dwSize = 0;
         f.Format.wFormatTag = 2;
       },
       DSERR_INVALIDPARAM},
      {"no format", [](auto& d, auto&) { d.lpwfxFormat = nullptr; }, DSERR_INVALIDPARAM},
      {"ADPCM tag", [](auto&, auto& f) { f.Format.wFormatTag = 2; }, E_NOTIMPL},
      {"tag before fields",
       [](auto&, auto& f) {
         f.Format.wFormatTag = 0x55;
         f.Format.nChannels = 0;
       },
       E_NOTIMPL},
      {"bits 4",
       [](auto&, auto& f) {
         f.Format.wBitsPerSample = 4;
         f.Format.nBlockAlign = 1;
       },
       DSERR_INVALIDPARAM},
      {"bits 12", [](auto&, auto& f) { f.Format.wBitsPerSample = 12; }, DSERR_INVALIDPARAM},
      {"no channels", [](auto&, auto& f) { f.Format.nChannels = 0; }, DSERR_INVALIDPARAM},
      {"rate 0", [](auto&, auto& f) { f.Format.nSamplesPerSec = 0; }, DSERR_INVALIDPARAM},
      {"byte rate 0", [](auto&, auto& f) { f.Format.nAvgBytesPerSec = 0; }, DSERR_INVALIDPARAM},
      {"byte rate wrong", [](auto&, auto& f) { f.Format.nAvgBytesPerSec = 7; }, DS_OK},
      {"block align wrong", [](auto&, auto& f) { f.Format.nBlockAlign = 4; }, DSERR_INVALIDPARAM},
      {"format before size",
       [](auto& d, auto& f) {
         f.Format.wFormatTag = 2;
         d.dwBufferBytes = 0;
       },
       E_NOTIMPL},
      {"plain PCM, 4 channels", [](auto&, auto& f) { f.Format = waveFormat(kPcm16, 4, 22050); },
       DSERR_INVALIDPARAM},
      {"extensible too short",
       [](auto& d, auto& f) {
         f = extensibleFormat(kPcm16, 1, 22050);
         f.Format.cbSize = 21;
         d.lpwfxFormat = &f.Format;
       },
       DSERR_INVALIDPARAM},
      {"extensible, unknown sub-format",
       [](auto& d, auto& f) {
         f = extensibleFormat(kPcm16, 1, 22050);
         f.SubFormat.Data1 = 2;
         d.lpwfxFormat = &f.Format;
       },
       E_NOTIMPL},
      {"extensible, 6 channels: well formed, not played here",
       [](auto& d, auto& f) {
         f = extensibleFormat(kPcm16, 6, 22050);
         d.lpwfxFormat = &f.Format;
       },
       DSERR_BADFORMAT},
      {"64-bit float",
       [](auto&, auto& f) {
         f.Format = waveFormat({64, true}, 1, 22050);
       },
       DSERR_BADFORMAT},
      {"rate below 100 Hz", [](auto&, auto& f) { f.Format.nSamplesPerSec = 99; }, DSERR_BADFORMAT},
      {"0 bytes", [](auto& d, auto&) { d.dwBufferBytes = 0; }, DSERR_INVALIDPARAM},
      {"3 bytes", [](auto& d, auto&) { d.dwBufferBytes = 3; }, DSERR_INVALIDPARAM},
      {"4 bytes", [](auto& d, auto&) { d.dwBufferBytes = 4; }, DS_OK},
      {"0x0FFFFFFF bytes", [](auto& d, auto&) { d.dwBufferBytes = 0x0FFFFFFF; }, DS_OK},
      {"0x10000000 bytes", [](auto& d, auto&) { d.dwBufferBytes = 0x10000000; },
       DSERR_INVALIDPARAM},
      {"primary buffer", [](auto& d, auto&) { d.dwFlags |= DSBCAPS_PRIMARYBUFFER; }, E_NOTIMPL},
  };
  for (const Case& c : cases) {
    WAVEFORMATEXTENSIBLE format{};
    format.Format = waveFormat(kPcm16, 1, 22050);
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = kControls;
    desc.dwBufferBytes = 1000;
    desc.lpwfxFormat = &format.Format;
    c.change(desc, format);
    IDirectSoundBuffer* buffer;
    EXPECT_EQ(createWith(desc, &buffer), c.expected) << c.what;
    EXPECT_EQ(buffer == nullptr, FAILED(c.expected)) << c.what;
  }
  EXPECT_EQ(device_->CreateSoundBuffer(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(Descriptor, AcceptsEveryPlayableFormat) {
  const Encoding encodings[] = {{8, false}, {16, false}, {24, false}, {32, false}, {32, true}};
  for (const Encoding e : encodings) {
    for (WORD channels : {1, 2}) {
      for (DWORD rate : {100u, 8000u, 11025u, 44100u, 96000u, 200000u}) {
        const WAVEFORMATEX plain = waveFormat(e, channels, rate);
        const WAVEFORMATEXTENSIBLE extensible = extensibleFormat(e, channels, rate);
        for (const WAVEFORMATEX* format : {&plain, &extensible.Format}) {
          IDirectSoundBuffer* buffer = create(*format, 4 * format->nBlockAlign);
          ASSERT_NE(buffer, nullptr) << e.bits << " bits " << channels << " ch " << rate;
          release(buffer);
        }
      }
    }
  }
}

TEST_F(Descriptor, RoundsSizeUpToWholeFrames) {
  const WAVEFORMATEX format = waveFormat({24, false}, 2, 44100);  // 6-byte frames
  IDirectSoundBuffer* buffer = create(format, 13);
  DSBCAPS caps{};
  caps.dwSize = sizeof caps;
  ASSERT_EQ(buffer->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwBufferBytes, 18u);
  EXPECT_EQ(caps.dwFlags & kControls, kControls);
}

TEST_F(Descriptor, NewBufferHoldsSilence) {
  for (const Encoding e : {Encoding{8, false}, Encoding{16, false}, Encoding{32, true}}) {
    IDirectSoundBuffer* buffer = create(waveFormat(e, 2, 22050), 4000);
    void* part;
    DWORD size;
    ASSERT_EQ(buffer->Lock(0, 4000, &part, &size, nullptr, nullptr, 0), DS_OK);
    const std::uint8_t silence = e.bits == 8 ? 0x80 : 0;
    const auto* bytes = static_cast<const std::uint8_t*>(part);
    EXPECT_EQ(std::count(bytes, bytes + size, silence), 4000) << e.bits;
    ASSERT_EQ(buffer->Unlock(part, size, nullptr, 0), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  }
  const std::vector<float> out = mix(4800);
  EXPECT_EQ(std::count(out.begin(), out.end(), 0.0f), 9600);
}

}  // namespace
}  // namespace vorlanex::engine::test
