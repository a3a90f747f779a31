#include "audio/riff_chunks.h"

namespace vorlanex {

// The walk reads one header at a time instead of leaving the search to the
// platform's chunk search: that one computes the next chunk's offset in 32
// bits, so a size such as 0xFFFFFFF8 sends it back to the same header forever.
// Here offsets are 64-bit, every step moves forward by at least a header, and
// anything past 2 GiB is out of reach of the file functions anyway.
platform::RiffStatus findChunk(platform::RiffFile* file, const platform::ChunkInfo& riff, std::uint32_t id,
               platform::ChunkInfo* chunk) {
  const std::uint64_t end = std::uint64_t{riff.dwDataOffset} + riff.cksize;
  std::uint64_t offset = std::uint64_t{riff.dwDataOffset} + 4;
  while (offset < end && offset <= 0x7FFFFFFFu) {
    if (platform::seekRiffFile(file, static_cast<std::int32_t>(offset)) < 0) {
      return platform::RiffStatus::kFailed;
    }
    // kNotFound here is the end of the file: no header left.
    const platform::RiffStatus descended = platform::descendChunk(file, chunk);
    if (descended != platform::RiffStatus::kOk) return descended;
    if (chunk->ckid == id) return platform::RiffStatus::kOk;
    offset = std::uint64_t{chunk->dwDataOffset} + ((std::uint64_t{chunk->cksize} + 1) & ~1ull);
  }
  return platform::RiffStatus::kNotFound;
}

}  // namespace vorlanex
