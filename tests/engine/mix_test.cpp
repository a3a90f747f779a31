// What the mix holds: each format at its level, resampled sources at their
// pitch and level, DirectSound's volume and pan law, voices summed, and
// the buffer memory that Lock and Unlock hand over.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/engine_fixture.h"

namespace vorlanex::engine::test {
namespace {

constexpr Encoding kPcm16{16, false};

Signal level(double value) {
  return [=](std::size_t, unsigned) { return value; };
}

using Mix = EngineTest;

// A full-scale sine: the largest code each format has.
TEST_F(Mix, EachFormatAtItsLevel) {
  struct {
    Encoding encoding;
    bool extensible;
    double peak;
  } cases[] = {
      {{8, false}, false, 127.0 / 128},
      {{16, false}, false, 32767.0 / 32768},
      {{24, false}, false, 1 - 1.0 / 8388608},
      {{32, false}, false, 1 - 1.0 / 2147483648},
      {{32, true}, false, 1.0},
      {{16, false}, true, 32767.0 / 32768},
      {{24, false}, true, 1 - 1.0 / 8388608},
      {{32, true}, true, 1.0},
  };
  for (const auto& c : cases) {
    for (WORD channels : {1, 2}) {
      const WAVEFORMATEXTENSIBLE format =
          c.extensible ? extensibleFormat(c.encoding, channels, 48000)
                       : WAVEFORMATEXTENSIBLE{waveFormat(c.encoding, channels, 48000), {}, 0, {}};
      IDirectSoundBuffer* buffer = load(format.Format, 48000, sine(1000, 48000, c.peak));
      ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
      const std::vector<float> out = mix(9600);
      const double expected = decibels(c.peak / std::sqrt(2.0));
      for (unsigned side : {0u, 1u}) {
        EXPECT_NEAR(rmsDecibels(channel(out, side), 0, 9600), expected, 0.1)
            << c.encoding.bits << (c.encoding.isFloat ? " float" : " bits") << " ext "
            << c.extensible << " channels " << channels << " side " << side;
      }
      release(buffer);
    }
  }
}

TEST_F(Mix, FloatSamplesThatCannotPlayAreKeptOut) {
  const float samples[] = {NAN, INFINITY, -INFINITY, 4.0f, -4.0f, 0.5f};
  const WAVEFORMATEX format = waveFormat({32, true}, 1, 48000);
  IDirectSoundBuffer* buffer = create(format, sizeof samples);
  void* part;
  DWORD size;
  ASSERT_EQ(buffer->Lock(0, sizeof samples, &part, &size, nullptr, nullptr, 0), DS_OK);
  std::memcpy(part, samples, sizeof samples);
  ASSERT_EQ(buffer->Unlock(part, size, nullptr, 0), DS_OK);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  const std::vector<float> left = channel(mix(6), 0);
  EXPECT_EQ(left, (std::vector<float>{0, 0, 0, 1, -1, 0.5f}));
}

TEST_F(Mix, ResamplingKeepsPitchAndLevel) {
  for (DWORD rate : {11025u, 22050u, 44100u}) {
    for (std::size_t frames : {std::size_t{rate}, std::size_t{rate} + 37}) {
      const double peak = 0.5;
      IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, rate), frames, sine(997, rate, peak));
      ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
      const std::vector<float> left = channel(mix(48000), 0);
      EXPECT_NEAR(frequencyOf(left, 4800, 38400), 997, 997 * 1e-4) << rate << " Hz, " << frames;
      EXPECT_NEAR(rmsDecibels(left, 4800, 38400), decibels(peak / std::sqrt(2.0)), 0.1) << rate;
      release(buffer);
    }
  }
}

// A full-scale square wave, band-limited on its way to 48 kHz, overshoots
// full scale between its samples; the voice keeps that for the mix.
TEST_F(Mix, ResampledPeaksAreNotClipped) {
  const Signal square = [](std::size_t i, unsigned) { return i / 11 % 2 ? -1.0 : 1.0; };
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 22050), 22050, square);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  const std::vector<float> out = mix(24000);
  EXPECT_GT(*std::max_element(out.begin(), out.end()), 1.05f);
}

TEST_F(Mix, VolumeAndPanLaw) {
  struct {
    LONG volume;
    LONG pan;
    double left;  // dB relative to the source
    double right;
  } cases[] = {
      {0, 0, 0, 0},
      {-600, 0, -6, -6},
      {0, -2000, 0, -20},
      {0, 2000, -20, 0},
      {-600, -2000, -6, -26},
      {-300, 10000, -999, -3},
      {-10000, 0, -999, -999},
      {0, -10000, 0, -999},
  };
  for (WORD channels : {1, 2}) {
    for (const auto& c : cases) {
      IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, channels, 48000), 480, level(0.5));
      ASSERT_EQ(buffer->SetVolume(c.volume), DS_OK);
      ASSERT_EQ(buffer->SetPan(c.pan), DS_OK);
      ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
      const std::vector<float> out = mix(1);
      const double expected[] = {c.left, c.right};
      for (unsigned side : {0u, 1u}) {
        if (expected[side] < -200) {
          EXPECT_EQ(out[side], 0.0f) << c.volume << "/" << c.pan;
        } else {
          EXPECT_NEAR(decibels(out[side] / 0.5), expected[side], 0.05)
              << channels << " channels, " << c.volume << "/" << c.pan << " side " << side;
        }
      }
      release(buffer);
    }
  }
}

TEST_F(Mix, VolumeAndPanChecks) {
  IDirectSoundBuffer* both = create(waveFormat(kPcm16, 1, 22050), 100, kControls);
  IDirectSoundBuffer* none = create(waveFormat(kPcm16, 1, 22050), 100, DSBCAPS_STATIC);
  LONG value = 1;
  EXPECT_EQ(both->GetVolume(&value), DS_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(both->SetVolume(-600), DS_OK);
  EXPECT_EQ(both->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(both->SetVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(both->GetVolume(&value), DS_OK);
  EXPECT_EQ(value, -600);  // refused values are not stored
  EXPECT_EQ(both->SetPan(-10000), DS_OK);
  EXPECT_EQ(both->SetPan(10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(both->GetPan(&value), DS_OK);
  EXPECT_EQ(value, -10000);

  EXPECT_EQ(none->SetVolume(-600), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(none->SetVolume(5), DSERR_CONTROLUNAVAIL);  // the control first
  EXPECT_EQ(none->GetVolume(&value), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(none->SetPan(100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(none->SetPan(-10001), DSERR_INVALIDPARAM);  // the range first
  EXPECT_EQ(none->GetPan(&value), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(none->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(both->GetVolume(nullptr), DSERR_INVALIDPARAM);
}

TEST_F(Mix, VoicesAreSummed) {
  double left = 0;
  double right = 0;
  for (int i = 0; i < 16; ++i) {
    const double value = (i % 2 ? -1 : 1) * (i + 1) / 64.0;  // exact in 16 bits
    const LONG pan = (i - 8) * 500;
    IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1 + i % 2, 48000), 480, level(value));
    ASSERT_EQ(buffer->SetVolume(-100 * i), DS_OK);
    ASSERT_EQ(buffer->SetPan(pan), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    left += value * std::pow(10, (-100 * i - std::max<LONG>(pan, 0)) / 2000.0);
    right += value * std::pow(10, (-100 * i + std::min<LONG>(pan, 0)) / 2000.0);
  }
  const std::vector<float> out = mix(960);
  for (std::size_t i = 0; i < out.size(); i += 2) {
    ASSERT_NEAR(out[i], left, 1e-6);
    ASSERT_NEAR(out[i + 1], right, 1e-6);
  }
}

TEST_F(Mix, LockAndUnlock) {
  IDirectSoundBuffer* buffer = create(waveFormat(kPcm16, 2, 48000), 4000);
  void* p1;
  void* p2;
  DWORD n1;
  DWORD n2;
  ASSERT_EQ(buffer->Lock(0, 4000, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 4000u);
  EXPECT_EQ(p2, nullptr);
  EXPECT_EQ(n2, 0u);
  auto* const start = static_cast<std::uint8_t*>(p1);
  ASSERT_EQ(buffer->Unlock(p1, n1, nullptr, 0), DS_OK);

  ASSERT_EQ(buffer->Lock(3000, 2000, &p1, &n1, &p2, &n2, 0), DS_OK);  // wraps to the start
  EXPECT_EQ(p1, start + 3000);
  EXPECT_EQ(n1, 1000u);
  EXPECT_EQ(p2, start);
  EXPECT_EQ(n2, 1000u);
  ASSERT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
  ASSERT_EQ(buffer->Lock(123, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
  EXPECT_EQ(p1, start + 123);
  EXPECT_EQ(n1, 4000u - 123);
  ASSERT_EQ(buffer->Unlock(p1, n1, nullptr, 0), DS_OK);

  EXPECT_EQ(buffer->Lock(4000, 4, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(0, 4001, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(p1, nullptr);
  EXPECT_EQ(buffer->Lock(0, 4, nullptr, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  std::uint8_t elsewhere[16];
  EXPECT_EQ(buffer->Unlock(elsewhere, 16, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(start + 3996, 8, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(start, 4, elsewhere, 4), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(nullptr, 4, nullptr, 0), DSERR_INVALIDPARAM);
}

// What is written through Lock is what plays, from the next mixed frame.
TEST_F(Mix, UnlockedDataPlays) {
  IDirectSoundBuffer* buffer = load(waveFormat(kPcm16, 1, 48000), 4800, level(0.25));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(mix(1)[0], 0.25f);
  const std::vector<std::uint8_t> half = encode(waveFormat(kPcm16, 1, 48000), 4800, level(-0.5));
  void* part;
  DWORD size;
  ASSERT_EQ(buffer->Lock(0, 0, &part, &size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
  std::memcpy(part, half.data(), size);
  ASSERT_EQ(buffer->Unlock(part, size, nullptr, 0), DS_OK);
  EXPECT_EQ(mix(1)[0], -0.5f);
}

}  // namespace
}  // namespace vorlanex::engine::test
