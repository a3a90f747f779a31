// Writes the example panel's WAV files into the panel folder given: sounds
// synthesized here (tones, hums, noise bursts, a creak, an engine), in the
// kinds of file panel authors bring: 16-bit and 8-bit PCM at several rates,
// and 32-bit float stereo whose "fmt " chunk has no extra-size field.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "wave_bytes.h"

namespace {

using namespace vorlanex::wavebytes;

constexpr double kPi = 3.14159265358979323846;

// A signal in -1..1 at time t seconds.
using Signal = std::function<double(double t)>;

std::string pcm16(const Signal& signal, std::uint32_t rate, double seconds) {
  std::string samples;
  const auto frames = static_cast<int>(seconds * rate);
  for (int i = 0; i < frames; ++i) {
    const double value = 32767.0 * signal(static_cast<double>(i) / rate);
    samples += u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))));
  }
  return samples;
}

std::string pcm8(const Signal& signal, std::uint32_t rate, double seconds) {
  std::string samples;
  const auto frames = static_cast<int>(seconds * rate);
  for (int i = 0; i < frames; ++i) {
    samples += static_cast<char>(std::lround(128.0 + 127.0 * signal(static_cast<double>(i) / rate)));
  }
  return samples;
}

std::string floatStereo(const Signal& left, const Signal& right, std::uint32_t rate,
                        double seconds) {
  std::string samples;
  const auto frames = static_cast<int>(seconds * rate);
  for (int i = 0; i < frames; ++i) {
    for (const Signal* side : {&left, &right}) {
      const auto value = static_cast<float>((*side)(static_cast<double>(i) / rate));
      samples.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
  }
  return samples;
}

// A repeatable noise in -1..1: the same file on every machine.
double noise(double t) {
  auto state = static_cast<std::uint32_t>(t * 1e6) * 2654435761u;
  state ^= state >> 15;
  state *= 2246822519u;
  state ^= state >> 13;
  return static_cast<double>(state) / 2147483648.0 - 1.0;
}

// Two partials dying away: a cabin chime.
double chime(double t) {
  return 0.4 * std::exp(-4.0 * t) *
         (std::sin(2 * kPi * 880.0 * t) + 0.5 * std::sin(2 * kPi * 1320.0 * t));
}

// A fan's hum whose partials fit whole periods into its second: it loops
// without a step at its loop point.
double fanHum(double t) {
  return 0.25 * std::sin(2 * kPi * 90.0 * t) + 0.12 * std::sin(2 * kPi * 180.0 * t + 1.0) +
         0.06 * std::sin(2 * kPi * 270.0 * t + 2.0);
}

// The door handle's latch: a noise burst over a low tone, fading fast.
double doorThump(double t) { return std::exp(-18.0 * t) * (0.5 * noise(t) + 0.4 * std::sin(2 * kPi * 70.0 * t)); }

// The seat-belt sign: two short tones.
double seatbeltDing(double t) {
  const double first = t < 0.2 ? std::sin(2 * kPi * 660.0 * t) : 0.0;
  const double second = t >= 0.25 && t < 0.45 ? std::sin(2 * kPi * 990.0 * t) : 0.0;
  return 0.5 * (first + second);
}

// The door swinging open: the latch letting go, then a hinge creaking, a
// tone that wavers and rises as the door gains speed, fading as it stops.
double doorOpen(double t) {
  const double latch = std::exp(-60.0 * t) * 0.5 * noise(t);
  const double pitch = 420.0 + 180.0 * t + 25.0 * std::sin(2 * kPi * 7.0 * t);
  const double swing = std::min(1.0, t / 0.08) * std::exp(-4.0 * t);
  const double creak = swing * 0.3 * std::sin(2 * kPi * pitch * t) * (0.7 + 0.3 * noise(t));
  return latch + creak;
}

// The door shutting: a heavy low thud and a short rattle of the frame.
double doorClose(double t) {
  const double thud = std::exp(-9.0 * t) * 0.6 * std::sin(2 * kPi * 55.0 * t);
  const double rattle = std::exp(-25.0 * t) * 0.3 * noise(t) * std::sin(2 * kPi * 31.0 * t);
  return thud + rattle;
}

// A relay behind the panel: a sharp click with a faint metallic ring.
double relayClick(double t) {
  return std::exp(-400.0 * t) * 0.7 * noise(t) + std::exp(-80.0 * t) * 0.2 * std::sin(2 * kPi * 2300.0 * t);
}

// A piston engine at idle: 30 firing pops a second, each a low tone dying
// away, over a steady drone. Every partial fits whole periods into the
// second the file lasts, so it loops without a step.
double engineDrone(double t) {
  const double sinceFiring = std::fmod(t, 1.0 / 30.0);
  const double pop = std::exp(-90.0 * sinceFiring) * std::sin(2 * kPi * 120.0 * t);
  return 0.35 * pop + 0.2 * std::sin(2 * kPi * 60.0 * t) + 0.08 * std::sin(2 * kPi * 240.0 * t + 0.5);
}

}  // namespace

// The example's one-shots start on a frame and end 5 ms after a frame's start
// (at 18 frames a second): a panel in real time, whose sound device lags by
// up to 50 ms, hands their variables back in the same frame as the exact run.
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PANEL_FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path cabin = std::filesystem::path(argv[1]) / "Sound" / "Cabin";
  std::filesystem::create_directories(cabin);
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"chime.wav", wave(formatFields(1, 1, 22050, 16), pcm16(chime, 22050, 1.005))},
      {"fan.wav", wave(formatFields(1, 1, 22050, 16), pcm16(fanHum, 22050, 1.0))},
      {"door.wav", riff("WAVE", chunk("fmt ", formatFields(3, 2, 44100, 32)) +
                                    chunk("fact", u32(13230)) +
                                    chunk("data", floatStereo(doorThump, doorThump, 44100, 0.283)))},
      {"seatbelt.wav", wave(formatFields(1, 1, 11025, 8), pcm8(seatbeltDing, 11025, 0.505))},
      {"door_open.wav", wave(formatFields(1, 1, 22050, 16), pcm16(doorOpen, 22050, 0.616))},
      {"door_close.wav", wave(formatFields(1, 1, 22050, 16), pcm16(doorClose, 22050, 0.394))},
      {"relay.wav", wave(formatFields(1, 1, 44100, 16), pcm16(relayClick, 44100, 0.061))},
      {"engine.wav", wave(formatFields(1, 1, 22050, 16), pcm16(engineDrone, 22050, 1.0))},
  };
  for (const auto& file : files) {
    std::ofstream out(cabin / file.name, std::ios::binary);
    out << file.bytes;
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", (cabin / file.name).string().c_str());
      return 1;
    }
  }
  return 0;
}
