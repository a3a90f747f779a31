// The RIFF seam on Windows: WINMM's mmio functions, one call each.
#include <cstring>

#include "platform/riff_file.h"

#include "windows_headers.h"

namespace vorlanex::platform {
namespace {

static_assert(sizeof(ChunkInfo) == sizeof(MMCKINFO), "ChunkInfo is MMCKINFO");
static_assert(sizeof(MMIOINFO) <= sizeof(RiffBuffer::record), "MMIOINFO fits the record");

HMMIO handle(RiffFile* file) { return reinterpret_cast<HMMIO>(file); }
MMCKINFO* record(ChunkInfo* chunk) { return reinterpret_cast<MMCKINFO*>(chunk); }

// mmio's result codes become the seam's in this one place.
RiffStatus statusOf(MMRESULT result) {
  if (result == MMSYSERR_NOERROR) return RiffStatus::kOk;
  return result == MMIOERR_CHUNKNOTFOUND ? RiffStatus::kNotFound : RiffStatus::kFailed;
}

MMIOINFO infoOf(const RiffBuffer& buffer) {
  MMIOINFO info;
  std::memcpy(&info, buffer.record, sizeof info);
  info.pchNext = buffer.next;
  info.pchEndRead = buffer.endRead;
  return info;
}

void keep(const MMIOINFO& info, RiffBuffer* buffer) {
  std::memcpy(buffer->record, &info, sizeof info);
  buffer->next = info.pchNext;
  buffer->endRead = info.pchEndRead;
}

}  // namespace

RiffFile* openRiffFile(const char* path) {
  return reinterpret_cast<RiffFile*>(
      mmioOpenA(const_cast<LPSTR>(path), nullptr, MMIO_ALLOCBUF | MMIO_READ));
}

void closeRiffFile(RiffFile* file) {
  if (file != nullptr) mmioClose(handle(file), 0);
}

std::int64_t riffFileSize(RiffFile* file) {
  // mmio tells the size only as the position at the end: go there and back.
  const LONG position = mmioSeek(handle(file), 0, SEEK_CUR);
  if (position == -1) return -1;
  const LONG end = mmioSeek(handle(file), 0, SEEK_END);
  mmioSeek(handle(file), position, SEEK_SET);
  return end;
}

RiffStatus descendChunk(RiffFile* file, ChunkInfo* chunk) {
  return statusOf(mmioDescend(handle(file), record(chunk), nullptr, 0));
}

RiffStatus ascendChunk(RiffFile* file, const ChunkInfo* chunk) {
  MMCKINFO copy;
  std::memcpy(&copy, chunk, sizeof copy);
  return statusOf(mmioAscend(handle(file), &copy, 0));
}

std::int32_t readRiffFile(RiffFile* file, void* destination, std::int32_t count) {
  return mmioRead(handle(file), static_cast<HPSTR>(destination), count);
}

std::int32_t seekRiffFile(RiffFile* file, std::int32_t offset) {
  return mmioSeek(handle(file), offset, SEEK_SET);
}

RiffStatus getRiffBuffer(RiffFile* file, RiffBuffer* buffer) {
  MMIOINFO info;
  const MMRESULT result = mmioGetInfo(handle(file), &info, 0);
  if (result == MMSYSERR_NOERROR) keep(info, buffer);
  return statusOf(result);
}

RiffStatus advanceRiffBuffer(RiffFile* file, RiffBuffer* buffer) {
  MMIOINFO info = infoOf(*buffer);
  const MMRESULT result = mmioAdvance(handle(file), &info, MMIO_READ);
  keep(info, buffer);
  return statusOf(result);
}

RiffStatus setRiffBuffer(RiffFile* file, const RiffBuffer* buffer) {
  const MMIOINFO info = infoOf(*buffer);
  return statusOf(mmioSetInfo(handle(file), &info, 0));
}

}  // namespace vorlanex::platform
