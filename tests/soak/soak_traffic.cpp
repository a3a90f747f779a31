#include "soak/soak_traffic.h"

#include <cmath>
#include <limits>

#include "wave_bytes.h"

namespace vorlanex::soak {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kTwoTo63 = 9223372036854775808.0;

// code plus 100 times the pan, the sign of the whole being the pan's.
double withPan(int code, int pan) {
  const double magnitude = std::abs(static_cast<double>(pan)) * 100 + code;
  return pan < 0 ? -magnitude : magnitude;
}

}  // namespace

double Traffic::soundValue() {
  const int roll = between(0, 99);
  if (roll < 22) return 1;
  if (roll < 34) return 2;
  if (roll < 50) return 0;
  if (roll < 55) return 3;
  if (roll < 59) return 4;
  if (roll < 68) return withPan(between(0, 4), between(-120, 120));
  if (roll < 71) return withPan(between(0, 4), between(-30000, 30000));  // pans out of range
  if (roll < 77) return between(5, 99);
  if (roll < 81) return -between(1, 99);
  if (roll < 85) return between(-3, 4) + pick<double>({0.5, 0.9, 0.999, 0.25, -0.5, -0.999});
  if (roll < 87) return std::nan("");
  if (roll < 89) return chance(0.5) ? kInfinity : -kInfinity;
  if (roll < 92) {
    return pick<double>({kTwoTo32 + 1, kTwoTo32 + 2, 3 * kTwoTo32 + 1, -kTwoTo32 - 1, kTwoTo63,
                         -kTwoTo63, 1e19, -1e300, 1e300, kTwoTo63 - 1024});
  }
  if (roll < 94) return pick<double>({-2147483648.0, 2147483647.0, 2147483648.0, -2147483649.0});
  return std::uniform_real_distribution<double>(-1e6, 1e6)(random_);
}

double Traffic::stopAllValue() {
  return pick<double>({1, 1, 0.5, 2, 1e300, kInfinity, 0, -1, std::nan(""), -0.0, 1e-300});
}

double Traffic::masterVolume() {
  const int roll = between(0, 9);
  if (roll < 5) return between(-30, 160);
  if (roll < 9) return std::uniform_real_distribution<double>(-10, 110)(random_);
  return pick<double>({std::nan(""), kInfinity, -kInfinity});
}

std::uint32_t Traffic::simulatorSwitch() {
  if (chance(0.9)) return chance(0.5) ? 1u : 0u;
  return pick<std::uint32_t>({2u, 256u, 257u, 0xFFFFFFFFu, 0x80000001u});
}

HRESULT Traffic::deviceFailure() {
  return pick<HRESULT>({DSERR_ALLOCATED, DSERR_OUTOFMEMORY, DSERR_INVALIDPARAM, DSERR_INVALIDCALL,
                        DSERR_BUFFERLOST});
}

std::vector<HRESULT> Traffic::restoreAnswers() {
  if (chance(0.1))
    return std::vector<HRESULT>(static_cast<std::size_t>(between(20, 26)), DSERR_INVALIDCALL);
  std::vector<HRESULT> answers(static_cast<std::size_t>(between(0, 4)));
  for (HRESULT& answer : answers) {
    answer = pick<HRESULT>({DSERR_BUFFERLOST, DSERR_INVALIDCALL, DSERR_NODRIVER, 1 /* S_FALSE */});
  }
  return answers;
}

FileKind Traffic::fileKind() {
  const int roll = between(0, 99);
  if (roll < 10) return FileKind::kMissing;
  if (roll < 13) return FileKind::kFolder;
  if (roll < 18) return FileKind::kNotWave;
  if (roll < 21) return FileKind::kNoData;
  if (roll < 25) return FileKind::kRefused;
  if (roll < 30) return FileKind::kShortData;
  return FileKind::kValid;
}

std::string Traffic::fileBytes(FileKind kind, std::uint32_t* dataBytes, std::uint32_t* heldBytes) {
  using namespace wavebytes;
  const auto channels = static_cast<std::uint16_t>(between(1, 2));
  const auto bits = static_cast<std::uint16_t>(chance(0.5) ? 8 : 16);
  const auto rate = pick<std::uint32_t>({8000, 11025, 22050});
  const std::uint32_t block = channels * bits / 8u;
  // From a fraction of a frame to about three quarters of a second.
  const double seconds = pick<double>({0.01, 0.05, 0.1, 0.2, 0.3, 0.5, 0.75});
  *dataBytes = static_cast<std::uint32_t>(seconds * rate) * block;
  *heldBytes = *dataBytes;
  const std::string format = formatFields(1, channels, rate, bits);
  switch (kind) {
    case FileKind::kNotWave:
      return pick<std::string>(
          {"", "just some text, not a sound\n", riff("AIFF", chunk("COMM", "x"))});
    case FileKind::kNoData:
      return riff("WAVE", chunk("fmt ", format));
    case FileKind::kRefused:
      // 12-bit samples, or plain PCM with three channels.
      return wave(chance(0.5) ? formatFields(1, 1, rate, 12) : formatFields(1, 3, rate, 16),
                  samplePattern(*dataBytes));
    case FileKind::kShortData: {
      // Cut inside a sample frame: only whole frames count.
      const std::uint32_t cut = *dataBytes / 2 + 1;
      *heldBytes = cut / block * block;
      return riff("WAVE", chunk("fmt ", format) + chunkHeader("data", *dataBytes) +
                              samplePattern(cut));
    }
    case FileKind::kValid:
      return wave(format, samplePattern(*dataBytes));
    default:
      return {};
  }
}

}  // namespace vorlanex::soak
