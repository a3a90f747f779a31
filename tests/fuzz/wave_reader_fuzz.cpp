// libFuzzer harness for the WAV reader on the portable RIFF seam. Each input
// is opened as a file held in memory: whatever its bytes, the open must end in a
// state its stage allows, no read may hand out more than was asked or than
// the data chunk has left, and a rewind must give the same bytes again. The
// sanitizers catch any byte touched outside the buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/wave_reader.h"
#include "platform/portable/riff_memory_files.h"

namespace {

using vorlanex::kOk;
using vorlanex::OpenFailure;
using vorlanex::WaveReader;

constexpr std::uint32_t kMostRead = 1 << 20;

void check(bool condition) {
  if (!condition) std::abort();
}

constexpr const char* kPath = "fuzz/input.wav";

// Reads in pieces of odd sizes, each into a buffer of exactly that size.
std::vector<std::uint8_t> readSome(WaveReader& reader) {
  static const std::uint32_t kPieces[] = {1, 4093, 13, 8192, 65537};
  std::vector<std::uint8_t> bytes;
  for (int i = 0; bytes.size() < kMostRead && reader.dataChunk.cksize > 0; ++i) {
    const std::uint32_t remaining = reader.dataChunk.cksize;
    const std::uint32_t count = kPieces[i % 5];
    std::vector<std::uint8_t> piece(count);
    std::uint32_t got = 0;
    const bool read = reader.read(count, piece.data(), &got) == kOk;
    check(reader.dataChunk.cksize == remaining - std::min(count, remaining));
    check(got <= count && got <= remaining && (read || got == 0));
    if (!read) break;
    bytes.insert(bytes.end(), piece.begin(), piece.begin() + got);
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorlanex::platform::registerMemoryFile(kPath, data, size);
  WaveReader reader;
  const bool opened = reader.open(kPath) == kOk;
  vorlanex::platform::forgetMemoryFile(kPath);  // the open file keeps its bytes
  const OpenFailure failure = reader.lastOpenFailure();
  const bool held = opened || failure == OpenFailure::kNoDataChunk;
  check(opened == (failure == OpenFailure::kNone));
  check((reader.file != nullptr) == held && (reader.format != nullptr) == held);
  if (!opened) return 0;
  check(reader.format->wFormatTag != vorlanex::kWaveFormatPcm || reader.format->cbSize == 0);
  check(reader.dataBytesHeld() <= reader.dataChunk.cksize);

  const std::uint32_t dataSize = reader.dataChunk.cksize;
  const std::vector<std::uint8_t> first = readSome(reader);
  check(reader.rewind() == kOk && reader.dataChunk.cksize == dataSize);
  const std::vector<std::uint8_t> again = readSome(reader);
  check(first == again);
  return 0;
}
