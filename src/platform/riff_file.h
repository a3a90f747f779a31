// RIFF file seam: buffered reading of RIFF files with the results of the
// Windows multimedia file functions (mmio). The win32 build calls WINMM; the
// portable build reads the file itself, so a WAV file reads the same on both.
// All file offsets are those of mmio: signed 32-bit, from the file's start.
#pragma once

#include <cstdint>

namespace vorlanex::platform {

// An open file with its I/O buffer: an HMMIO on Windows.
struct RiffFile;

// A chunk header as mmio describes it (the MMCKINFO record).
struct ChunkInfo {
  std::uint32_t ckid;          // chunk id, four characters
  std::uint32_t cksize;        // size of the contents, without the pad byte
  std::uint32_t fccType;       // form type of a "RIFF" or "LIST" chunk, else 0
  std::uint32_t dwDataOffset;  // file offset of the first content byte
  std::uint32_t dwFlags;
};

// A four-character code as it stands in the file, read as a little-endian u32.
constexpr std::uint32_t fourCc(const char (&code)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

enum class RiffStatus { kOk, kNotFound, kFailed };

// The I/O buffer handed out for direct reading (mmioGetInfo): the bytes from
// `next` up to `endRead` are the file's bytes from the current position on.
struct RiffBuffer {
  char* next = nullptr;
  char* endRead = nullptr;
  // The rest of the platform's own record (MMIOINFO), handed back unchanged.
  alignas(8) unsigned char record[96];
};

// Opens an existing file for reading with an I/O buffer of its own
// (mmioOpenA with MMIO_READ | MMIO_ALLOCBUF). The name is a Windows path:
// either separator, any letter case, relative to the current directory.
// Null when there is no such file (a folder counts as none) or no access.
RiffFile* openRiffFile(const char* path);

// Closes the file and frees its buffer. Null is ignored.
void closeRiffFile(RiffFile* file);

// The file's size in bytes, or -1 when it cannot be told. The position stays
// where it was, so this may be called between any two other calls except
// inside a direct-access run (getRiffBuffer to setRiffBuffer).
std::int64_t riffFileSize(RiffFile* file);

// Reads the chunk header at the current position into `chunk` (mmioDescend
// with no parent and no search): id and size, plus the form type of a "RIFF"
// or "LIST" chunk, whose fccType is otherwise 0. dwDataOffset is the header's
// offset + 8 and the position moves to the first content byte, behind the form
// type for "RIFF" and "LIST". With fewer than 8 bytes left: kNotFound, the
// position stays. Bytes that were read are in `chunk` either way (a form type
// cut short by the end of the file overwrites only the bytes that were there).
RiffStatus descendChunk(RiffFile* file, ChunkInfo* chunk);

// Moves past the end of `chunk` and its pad byte (mmioAscend): to
// dwDataOffset + cksize rounded up to even, computed in 32 bits. Succeeds even
// where that offset cannot be reached; the position then stays.
RiffStatus ascendChunk(RiffFile* file, const ChunkInfo* chunk);

// Reads up to `count` bytes (mmioRead); returns how many were read: short at
// the end of the file, 0 there. -1 on failure.
std::int32_t readRiffFile(RiffFile* file, void* destination, std::int32_t count);

// Moves to `offset` from the start of the file (mmioSeek with SEEK_SET) and
// returns it; past the end is allowed. -1 for a negative offset or a failure.
std::int32_t seekRiffFile(RiffFile* file, std::int32_t offset);

// Direct access to the I/O buffer (mmioGetInfo). The caller takes bytes at
// `next` and steps it, up to `endRead`, then refills with advanceRiffBuffer and
// finally hands the state back with setRiffBuffer before any other call.
RiffStatus getRiffBuffer(RiffFile* file, RiffBuffer* buffer);

// Refills the buffer with the file's next bytes after those it held
// (mmioAdvance with MMIO_READ): `next` moves to the buffer's start and
// `endRead` past what was read. At the end of the file it succeeds with
// next == endRead: that equality is the end-of-file test.
RiffStatus advanceRiffBuffer(RiffFile* file, RiffBuffer* buffer);

// Hands the buffer state back (mmioSetInfo); kFailed when `next` or `endRead`
// lies outside the buffer.
RiffStatus setRiffBuffer(RiffFile* file, const RiffBuffer* buffer);

}  // namespace vorlanex::platform
