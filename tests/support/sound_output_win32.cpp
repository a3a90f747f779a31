#include "windows_headers.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/sound_output.h"

namespace vorlanex::test {
namespace {

// The capture file as Wine sees it: the Unix path through drive Z:.
std::string captureFile() {
  const char* path = std::getenv("VORLANEX_AUDIO_FILE");
  return path == nullptr || path[0] == '\0' ? std::string() : "Z:" + std::string(path);
}

constexpr std::size_t kFrameBytes = 8;  // float left, float right

std::size_t framesInFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<std::size_t>(data.nFileSizeLow) / kFrameBytes;
}

double secondsNow() { return static_cast<double>(GetTickCount64()) / 1000.0; }

}  // namespace

SoundOutput::SoundOutput() = default;

bool SoundOutput::capturing() const { return !captureFile().empty(); }

std::size_t SoundOutput::mark() const { return framesInFile(captureFile()); }

bool SoundOutput::waitUntil(const std::function<bool()>& condition, double limitSeconds) const {
  const double end = secondsNow() + limitSeconds;
  while (!condition()) {
    if (secondsNow() > end) return false;
    Sleep(2);
  }
  return true;
}

void SoundOutput::pass(double seconds) const {
  const double end = secondsNow() + seconds;
  while (secondsNow() < end) Sleep(2);
}

std::vector<float> SoundOutput::heardSince(std::size_t from, std::size_t frames,
                                           double limitSeconds) const {
  const std::string path = captureFile();
  waitUntil([&] { return framesInFile(path) >= from + frames; }, limitSeconds);
  std::vector<float> heard;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return heard;
  std::fseek(file, static_cast<long>(from * kFrameBytes), SEEK_SET);
  float pair[2];
  while (std::fread(pair, sizeof pair, 1, file) == 1) heard.insert(heard.end(), pair, pair + 2);
  std::fclose(file);
  return heard;
}

}  // namespace vorlanex::test

#include "panel_host.h"
#include "support/sound_panel.h"

namespace vorlanex::test {

// DirectSound plays in real time: so do the frames.
void attachSoundClock(host::PanelHost& host) { host.setRealTime(true); }

}  // namespace vorlanex::test

namespace vorlanex::test {

bool deviceVisible() { return false; }

std::vector<DeviceBuffer> deviceBuffers() { return {}; }

bool loseEveryBuffer(BufferLoss) { return false; }

}  // namespace vorlanex::test
