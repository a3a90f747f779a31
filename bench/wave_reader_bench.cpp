// Loading a sound's samples the way its buffer is filled (open, one read of
// the whole data chunk, rewind), next to a bare fread of the same file and
// libsndfile's sf_read_raw of the same data. Target: the reader within 1.3x
// of the fread. The files, 1 MB and 64 MB of samples, are made at start.
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "audio/wave_reader.h"
#include "wave_bytes.h"

namespace {

namespace fs = std::filesystem;

// The WAV file holding `dataSize` bytes of 16-bit stereo samples, made once.
const std::string& waveFile(std::int64_t dataSize) {
  static std::map<std::int64_t, std::string> files;
  std::string& path = files[dataSize];
  if (path.empty()) {
    path = (fs::temp_directory_path() / ("vorlanex-bench-" + std::to_string(dataSize) + ".wav"))
               .string();
    using namespace vorlanex::wavebytes;
    std::ofstream(path, std::ios::binary)
        << wave(formatFields(1, 2, 44100, 16), samplePattern(static_cast<std::size_t>(dataSize)));
    std::atexit([] {
      for (const auto& [size, name] : files) fs::remove(name);
    });
  }
  return path;
}

void finish(benchmark::State& state, bool ok) {
  if (!ok) state.SkipWithError("load failed");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void WaveReaderLoad(benchmark::State& state) {
  const std::string& path = waveFile(state.range(0));
  std::vector<char> samples(static_cast<std::size_t>(state.range(0)));
  bool ok = true;
  for (auto _ : state) {
    vorlanex::WaveReader reader;
    std::uint32_t got = 0;
    ok &= reader.open(path.c_str()) == vorlanex::kOk;
    ok &= reader.read(reader.dataChunk.cksize, samples.data(), &got) == vorlanex::kOk;
    ok &= reader.rewind() == vorlanex::kOk && got == samples.size();
    benchmark::DoNotOptimize(samples.data());
  }
  finish(state, ok);
}

void FreadWholeFile(benchmark::State& state) {
  const std::string& path = waveFile(state.range(0));
  std::vector<char> bytes(static_cast<std::size_t>(fs::file_size(path)));
  bool ok = true;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ok &= file != nullptr && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr) std::fclose(file);
    benchmark::DoNotOptimize(bytes.data());
  }
  finish(state, ok);
}

void SndfileReadRaw(benchmark::State& state) {
  const std::string& path = waveFile(state.range(0));
  std::vector<char> samples(static_cast<std::size_t>(state.range(0)));
  bool ok = true;
  for (auto _ : state) {
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ok &= file != nullptr &&
          sf_read_raw(file, samples.data(), static_cast<sf_count_t>(samples.size())) ==
              static_cast<sf_count_t>(samples.size());
    if (file != nullptr) sf_close(file);
    benchmark::DoNotOptimize(samples.data());
  }
  finish(state, ok);
}

constexpr std::int64_t kMiB = 1 << 20;

BENCHMARK(WaveReaderLoad)->Arg(kMiB)->Arg(64 * kMiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(FreadWholeFile)->Arg(kMiB)->Arg(64 * kMiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(SndfileReadRaw)->Arg(kMiB)->Arg(64 * kMiB)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
