// The RIFF seam without Windows: our own buffered file reader, giving the
// results of mmio as they are recorded for the WAV reader (the chunk header
// rules, 32-bit offsets, a buffer that is emptied by a seek outside it).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/portable/riff_file_faults.h"
#include "platform/portable/riff_memory_files.h"
#include "platform/portable/windows_path.h"
#include "platform/riff_file.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "RIFF headers are read as they lie");

namespace vorlanex::platform {

struct RiffFile {
  int descriptor = -1;
  // A file registered in memory is read from there instead.
  const char* memory = nullptr;
  std::int64_t memorySize = 0;
  // A block of its own, so that the sanitizers see a read past its end.
  std::unique_ptr<char[]> buffer;
  std::int64_t bufferOffset = 0;  // file offset of buffer[0]
  std::int64_t diskOffset = 0;    // file offset the next refill reads from
  char* next = nullptr;
  char* endRead = nullptr;
};

namespace {

constexpr std::int64_t kBufferSize = 8192;

struct MemoryFile {
  std::string path;
  const char* bytes;
  std::int64_t size;
};
std::vector<MemoryFile> memoryFiles;

const MemoryFile* findMemoryFile(const char* path) {
  for (const MemoryFile& file : memoryFiles) {
    if (file.path == path) return &file;
  }
  return nullptr;
}

// Reads up to `size` bytes at `offset`: the count, short at the end of the
// file, or -1 when the system fails. The seam's one view of system errors.
std::int64_t readAt(const RiffFile& file, char* to, std::int64_t size, std::int64_t offset) {
  if (file.memory != nullptr) {
    const std::int64_t run = std::max<std::int64_t>(0, std::min(size, file.memorySize - offset));
    if (run > 0) std::memcpy(to, file.memory + offset, static_cast<std::size_t>(run));
    return run;
  }
  const int descriptor = file.descriptor;
  std::int64_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(descriptor, to + done, static_cast<std::size_t>(size - done),
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += got;
  }
  return done;
}

// Loads the buffer-full that follows the one held.
bool refill(RiffFile& file) {
  const std::int64_t got = readAt(file, file.buffer.get(), kBufferSize, file.diskOffset);
  file.bufferOffset = file.diskOffset;
  file.next = file.endRead = file.buffer.get();
  if (got < 0) return false;
  file.diskOffset += got;
  file.endRead += got;
  return true;
}

std::int64_t positionOf(const RiffFile& file) {
  return file.bufferOffset + (file.next - file.buffer.get());
}

// A position inside the bytes held keeps the buffer; any other empties it.
void moveTo(RiffFile& file, std::int64_t offset) {
  if (offset >= file.bufferOffset &&
      offset < file.bufferOffset + (file.endRead - file.buffer.get())) {
    file.next = file.buffer.get() + (offset - file.bufferOffset);
    return;
  }
  file.bufferOffset = file.diskOffset = offset;
  file.next = file.endRead = file.buffer.get();
}

std::int64_t readInto(RiffFile& file, char* to, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    if (file.next == file.endRead && (!refill(file) || file.next == file.endRead)) break;
    const std::int64_t run = std::min<std::int64_t>(count - done, file.endRead - file.next);
    std::memcpy(to + done, file.next, static_cast<std::size_t>(run));
    file.next += run;
    done += run;
  }
  return done;
}

bool insideBuffer(const RiffFile& file, const char* pointer) {
  return pointer >= file.buffer.get() && pointer <= file.buffer.get() + kBufferSize;
}

int openRegularFile(const char* path) {
  const std::string name = resolveWindowsPath(path);
  if (name.empty()) return -1;
  const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info;
  if (descriptor >= 0 && (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(descriptor);
    return -1;
  }
  return descriptor;
}

}  // namespace

void registerMemoryFile(const char* path, const void* bytes, std::size_t size) {
  forgetMemoryFile(path);
  memoryFiles.push_back(
      {path, static_cast<const char*>(bytes), static_cast<std::int64_t>(size)});
}

void forgetMemoryFile(const char* path) {
  memoryFiles.erase(std::remove_if(memoryFiles.begin(), memoryFiles.end(),
                                   [path](const MemoryFile& file) { return file.path == path; }),
                    memoryFiles.end());
}

RiffFile* openRiffFile(const char* path) {
  if (riffCallFails(RiffCall::kOpen) || path == nullptr) return nullptr;
  const MemoryFile* memory = memoryFiles.empty() ? nullptr : findMemoryFile(path);
  const int descriptor = memory != nullptr ? -1 : openRegularFile(path);
  if (memory == nullptr && descriptor < 0) return nullptr;
  std::unique_ptr<RiffFile> file(new (std::nothrow) RiffFile);
  if (file) file->buffer.reset(new (std::nothrow) char[kBufferSize]);
  if (!file || !file->buffer) {
    if (descriptor >= 0) ::close(descriptor);
    return nullptr;
  }
  file->descriptor = descriptor;
  if (memory != nullptr) {
    file->memory = memory->bytes;
    file->memorySize = memory->size;
  }
  file->next = file->endRead = file->buffer.get();
  countRiffFile(1);
  return file.release();
}

void closeRiffFile(RiffFile* file) {
  if (file == nullptr) return;
  if (file->descriptor >= 0) ::close(file->descriptor);
  delete file;
  countRiffFile(-1);
}

std::int64_t riffFileSize(RiffFile* file) {
  if (file == nullptr) return -1;
  if (file->memory != nullptr) return file->memorySize;
  struct stat info;
  return ::fstat(file->descriptor, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

RiffStatus descendChunk(RiffFile* file, ChunkInfo* chunk) {
  if (riffCallFails(RiffCall::kDescend) || file == nullptr) return RiffStatus::kFailed;
  const std::int64_t start = positionOf(*file);
  char header[12];
  const std::int64_t got = readInto(*file, header, sizeof header);
  std::memcpy(chunk, header, static_cast<std::size_t>(got));
  if (got < 8) {
    moveTo(*file, start);
    return RiffStatus::kNotFound;
  }
  chunk->dwDataOffset = static_cast<std::uint32_t>(start + 8);
  chunk->dwFlags = 0;
  const bool form = chunk->ckid == fourCc("RIFF") || chunk->ckid == fourCc("LIST");
  if (!form) chunk->fccType = 0;
  moveTo(*file, start + (form ? 12 : 8));
  return RiffStatus::kOk;
}

RiffStatus ascendChunk(RiffFile* file, const ChunkInfo* chunk) {
  if (riffCallFails(RiffCall::kAscend) || file == nullptr) return RiffStatus::kFailed;
  const std::uint32_t end = chunk->dwDataOffset + ((chunk->cksize + 1) & ~1u);
  if (end <= 0x7FFFFFFFu) moveTo(*file, end);
  return RiffStatus::kOk;
}

std::int32_t readRiffFile(RiffFile* file, void* destination, std::int32_t count) {
  if (riffCallFails(RiffCall::kRead) || file == nullptr || count < 0) return -1;
  return static_cast<std::int32_t>(readInto(*file, static_cast<char*>(destination), count));
}

std::int32_t seekRiffFile(RiffFile* file, std::int32_t offset) {
  if (riffCallFails(RiffCall::kSeek) || file == nullptr || offset < 0) return -1;
  moveTo(*file, offset);
  return offset;
}

RiffStatus getRiffBuffer(RiffFile* file, RiffBuffer* buffer) {
  if (riffCallFails(RiffCall::kGetBuffer) || file == nullptr) return RiffStatus::kFailed;
  buffer->next = file->next;
  buffer->endRead = file->endRead;
  return RiffStatus::kOk;
}

RiffStatus advanceRiffBuffer(RiffFile* file, RiffBuffer* buffer) {
  if (riffCallFails(RiffCall::kAdvance) || file == nullptr) return RiffStatus::kFailed;
  const bool read = refill(*file);
  buffer->next = file->next;
  buffer->endRead = file->endRead;
  return read ? RiffStatus::kOk : RiffStatus::kFailed;
}

RiffStatus setRiffBuffer(RiffFile* file, const RiffBuffer* buffer) {
  if (riffCallFails(RiffCall::kSetBuffer) || file == nullptr) return RiffStatus::kFailed;
  if (!insideBuffer(*file, buffer->next) || !insideBuffer(*file, buffer->endRead)) {
    return RiffStatus::kFailed;
  }
  file->next = buffer->next;
  file->endRead = buffer->endRead;
  return RiffStatus::kOk;
}

}  // namespace vorlanex::platform
