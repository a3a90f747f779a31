// Writes the WAV reader's seed corpus into the folder given: a few small files
// of the shapes the reader must tell apart, made here rather than taken from
// anywhere.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "wave_bytes.h"

using namespace vorlanex::wavebytes;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);

  const std::string pcm = formatFields(1, 1, 8000, 16);
  const std::string floats = formatFields(3, 2, 44100, 32);
  const std::string samples = samplePattern(64);
  const struct {
    const char* name;
    std::string bytes;
  } seeds[] = {
      {"pcm", wave(pcm, samples)},
      {"extensible",
       wave(formatFields(0xFFFE, 2, 48000, 16) + u16(22) + samplePattern(22), samples)},
      {"float16", wave(floats, samples)},
      {"float18", wave(floats + u16(0), samples)},
      {"data_first", riff("WAVE", chunk("data", samples) + chunk("fmt ", pcm))},
      {"odd_chunks",
       riff("WAVE", chunk("LIST", "INFOa") + chunk("fmt ", pcm) + chunk("data", "abc"))},
      {"no_data", riff("WAVE", chunk("fmt ", pcm))},
      {"cut_data", riff("WAVE", chunk("fmt ", pcm) + chunkHeader("data", 1000) + samples)},
  };
  for (const auto& seed : seeds) {
    std::ofstream(folder / seed.name, std::ios::binary) << seed.bytes;
  }
  return 0;
}
