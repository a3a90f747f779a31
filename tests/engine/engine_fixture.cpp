#include "engine/engine_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vorlanex::engine::test {

WAVEFORMATEX waveFormat(Encoding encoding, WORD channels, DWORD rate) {
  WAVEFORMATEX f{};
  f.wFormatTag = encoding.isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = encoding.bits;
  f.nBlockAlign = static_cast<WORD>(channels * encoding.bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

WAVEFORMATEXTENSIBLE extensibleFormat(Encoding encoding, WORD channels, DWORD rate) {
  WAVEFORMATEXTENSIBLE f{};
  f.Format = waveFormat(encoding, channels, rate);
  f.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  f.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
  f.Samples.wValidBitsPerSample = encoding.bits;
  f.dwChannelMask = channels == 1 ? 0x4 : 0x3;
  f.SubFormat = encoding.isFloat ? KSDATAFORMAT_SUBTYPE_IEEE_FLOAT : KSDATAFORMAT_SUBTYPE_PCM;
  return f;
}

std::vector<std::uint8_t> encode(const WAVEFORMATEX& format, std::size_t frames,
                                 const Signal& signal) {
  const unsigned width = format.wBitsPerSample / 8;
  bool isFloat = format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT;
  if (format.wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
    isFloat = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format).SubFormat ==
              KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
  }
  std::vector<std::uint8_t> bytes(frames * format.nBlockAlign);
  std::uint8_t* at = bytes.data();
  for (std::size_t i = 0; i < frames; ++i) {
    for (unsigned c = 0; c < format.nChannels; ++c, at += width) {
      const double value = signal(i, c);
      if (isFloat) {
        const auto f = static_cast<float>(value);
        std::memcpy(at, &f, sizeof f);
        continue;
      }
      const double top = std::ldexp(1.0, 8 * width - 1);
      const auto code =
          static_cast<std::int64_t>(std::clamp(std::round(value * top), -top, top - 1));
      const std::uint64_t raw =
          width == 1 ? static_cast<std::uint64_t>(code + 128) : static_cast<std::uint64_t>(code);
      for (unsigned b = 0; b < width; ++b) at[b] = static_cast<std::uint8_t>(raw >> (8 * b));
    }
  }
  return bytes;
}

Signal sine(double hertz, double rate, double peak, double phase) {
  return [=](std::size_t frame, unsigned) {
    return peak * std::sin(2 * M_PI * hertz * static_cast<double>(frame) / rate + phase);
  };
}

std::vector<float> channel(const std::vector<float>& stereo, unsigned which) {
  std::vector<float> one(stereo.size() / 2);
  for (std::size_t i = 0; i < one.size(); ++i) one[i] = stereo[2 * i + which];
  return one;
}

double decibels(double amplitude) { return 20 * std::log10(amplitude); }

double rmsDecibels(const std::vector<float>& samples, std::size_t first, std::size_t count) {
  double sum = 0;
  for (std::size_t i = first; i < first + count; ++i) sum += double{samples[i]} * samples[i];
  return 10 * std::log10(sum / static_cast<double>(count));
}

double frequencyOf(const std::vector<float>& samples, std::size_t first, std::size_t count) {
  double firstCrossing = -1;
  double lastCrossing = -1;
  int cycles = -1;
  for (std::size_t i = first; i + 1 < first + count; ++i) {
    if (samples[i] < 0 && samples[i + 1] >= 0) {
      const double at = static_cast<double>(i) + samples[i] / (samples[i] - samples[i + 1]);
      if (firstCrossing < 0) firstCrossing = at;
      lastCrossing = at;
      ++cycles;
    }
  }
  return cycles > 0 ? cycles * double{kOutputRate} / (lastCrossing - firstCrossing) : 0.0;
}

void EngineTest::SetUp() {
  reset();
  ASSERT_EQ(DirectSoundCreate(nullptr, &device_, nullptr), DS_OK);
  useMemorySink();
}

void EngineTest::TearDown() {
  for (IDirectSoundBuffer* buffer : made_) buffer->Release();
  if (device_ != nullptr) device_->Release();
  EXPECT_TRUE(buffers().empty());
  EXPECT_EQ(liveDevices(), 0u);
  reset();
}

IDirectSoundBuffer* EngineTest::create(const WAVEFORMATEX& format, DWORD bytes, DWORD flags) {
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = flags;
  desc.dwBufferBytes = bytes;
  desc.lpwfxFormat = const_cast<WAVEFORMATEX*>(&format);
  IDirectSoundBuffer* buffer = nullptr;
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
  if (buffer != nullptr) made_.push_back(buffer);
  return buffer;
}

IDirectSoundBuffer* EngineTest::load(const WAVEFORMATEX& format, std::size_t frames,
                                     const Signal& signal, DWORD flags) {
  const std::vector<std::uint8_t> bytes = encode(format, frames, signal);
  IDirectSoundBuffer* buffer = create(format, static_cast<DWORD>(bytes.size()), flags);
  if (buffer == nullptr) return nullptr;
  void* part = nullptr;
  DWORD size = 0;
  EXPECT_EQ(buffer->Lock(0, static_cast<DWORD>(bytes.size()), &part, &size, nullptr, nullptr, 0),
            DS_OK);
  EXPECT_EQ(size, bytes.size());
  std::memcpy(part, bytes.data(), bytes.size());
  EXPECT_EQ(buffer->Unlock(part, size, nullptr, 0), DS_OK);
  return buffer;
}

void EngineTest::release(IDirectSoundBuffer* buffer) {
  made_.erase(std::find(made_.begin(), made_.end(), buffer));
  buffer->Release();
}

std::vector<float> EngineTest::mix(std::uint64_t frames) {
  std::vector<float> out(2 * frames);
  EXPECT_TRUE(render(out.data(), frames));
  return out;
}

DWORD EngineTest::status(IDirectSoundBuffer* buffer) {
  DWORD value = 0xDEAD;
  EXPECT_EQ(buffer->GetStatus(&value), DS_OK);
  return value;
}

DWORD EngineTest::position(IDirectSoundBuffer* buffer) {
  DWORD play = 0xDEAD;
  EXPECT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
  return play;
}

}  // namespace vorlanex::engine::test
