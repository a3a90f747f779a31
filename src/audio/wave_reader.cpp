#include "audio/wave_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>

#include "audio/module_heap.h"
#include "audio/riff_chunks.h"

namespace vorlanex {
namespace {

using platform::fourCc;
using platform::RiffStatus;

constexpr std::int32_t kFormatFieldsSize = 16;  // WAVEFORMATEX up to cbSize
constexpr std::uint32_t kFormatWithExtraSize = 18;

// Reads exactly `count` bytes: kNone, else `cutShort` for a file that ends
// first, or kReadError when the read itself failed.
OpenFailure readExactly(platform::RiffFile* file, void* destination, std::int32_t count,
                        OpenFailure cutShort) {
  const std::int32_t read = platform::readRiffFile(file, destination, count);
  if (read < 0) return OpenFailure::kReadError;
  return read == count ? OpenFailure::kNone : cutShort;
}

// A block of the 18-byte record followed by room for `extra` bytes.
WaveFormat* newFormatBlock(const WaveFormat& fields, std::uint16_t extra) {
  void* memory = heapAllocate(sizeof(WaveFormat) + extra);
  if (memory == nullptr) return nullptr;
  WaveFormat* block = new (memory) WaveFormat(fields);
  block->cbSize = extra;
  return block;
}

}  // namespace

const char* describeOpenFailure(OpenFailure failure) {
  // In the order of the stages.
  static const char* const kTexts[] = {
      "readable",
      "cannot be opened",
      "not a RIFF file",
      "a RIFF file, but not WAVE",
      "no \"fmt \" chunk",
      "\"fmt \" chunk smaller than 16 bytes",
      "file ends inside the format",
      "no memory for the format",
      "file ends inside the extra format bytes",
      "cannot step past the \"fmt \" chunk",
      "no \"data\" chunk",
      "the file cannot be read",
  };
  static_assert(std::size(kTexts) == static_cast<std::size_t>(OpenFailure::kReadError) + 1,
                "one text per stage");
  const auto index = static_cast<std::size_t>(failure);
  return index < std::size(kTexts) ? kTexts[index] : "unknown";
}

WaveReader::~WaveReader() {
  close();
  freeFormat();
}

Result WaveReader::open(const char* path) {
  // Letting go of an earlier file too, not only the format: it would stay
  // open, unreachable, until the process ends.
  close();
  freeFormat();
  file = path == nullptr ? nullptr : platform::openRiffFile(path);
  // The platform's open gives no reason: mmioOpen answers null for a missing
  // file and for a lack of memory alike, so both read as a file that cannot
  // be opened.
  if (file == nullptr) {
    lastOpenFailure_ = OpenFailure::kNoFile;
    return kFail;
  }
  lastOpenFailure_ = readHeader();
  if (lastOpenFailure_ != OpenFailure::kNone) {
    freeFormat();
    close();
    return lastOpenFailure_ == OpenFailure::kNoMemory ? kOutOfMemory : kFail;
  }
  const RiffStatus data = findChunk(file, riffChunk, fourCc("data"), &dataChunk);
  if (data != RiffStatus::kOk) {
    lastOpenFailure_ = data == RiffStatus::kFailed ? OpenFailure::kReadError
                                                   : OpenFailure::kNoDataChunk;
    return kFail;
  }
  return kOk;
}

OpenFailure WaveReader::readHeader() {
  // A header cut short inside the form type keeps the record's old bytes
  // there: start from zero, so that no earlier file's form type shows through.
  riffChunk = {};
  const RiffStatus riff = platform::descendChunk(file, &riffChunk);
  if (riff == RiffStatus::kFailed) return OpenFailure::kReadError;
  if (riff != RiffStatus::kOk || riffChunk.ckid != fourCc("RIFF")) return OpenFailure::kNotRiff;
  if (riffChunk.fccType != fourCc("WAVE")) return OpenFailure::kNotWave;
  platform::ChunkInfo formatChunk = {};
  const RiffStatus found = findChunk(file, riffChunk, fourCc("fmt "), &formatChunk);
  if (found == RiffStatus::kFailed) return OpenFailure::kReadError;
  if (found != RiffStatus::kOk) return OpenFailure::kNoFormatChunk;
  if (formatChunk.cksize < kFormatFieldsSize) return OpenFailure::kFormatTooShort;
  const OpenFailure failure = readFormat(formatChunk);
  if (failure != OpenFailure::kNone) return failure;
  if (platform::ascendChunk(file, &formatChunk) != RiffStatus::kOk) {
    return OpenFailure::kFormatChunkEnd;
  }
  return OpenFailure::kNone;
}

OpenFailure WaveReader::readFormat(const platform::ChunkInfo& formatChunk) {
  WaveFormat fields = {};
  OpenFailure failure = readExactly(file, &fields, kFormatFieldsSize, OpenFailure::kFormatCutShort);
  if (failure != OpenFailure::kNone) return failure;
  // Formats other than PCM count their extra bytes in the field behind the
  // first 16 bytes. A chunk of 16 or 17 bytes has no such field: reading one
  // anyway would take the next chunk's id for the count, and that many bytes
  // of other chunks for the format.
  std::uint16_t extra = 0;
  if (fields.wFormatTag != kWaveFormatPcm && formatChunk.cksize >= kFormatWithExtraSize) {
    failure = readExactly(file, &extra, sizeof extra, OpenFailure::kFormatCutShort);
    if (failure != OpenFailure::kNone) return failure;
  }
  format = newFormatBlock(fields, extra);
  if (format == nullptr) return OpenFailure::kNoMemory;
  if (extra == 0) return OpenFailure::kNone;
  return readExactly(file, reinterpret_cast<unsigned char*>(format) + sizeof(WaveFormat), extra,
                     OpenFailure::kExtraCutShort);
}

Result WaveReader::rewind() {
  if (file == nullptr) return kFail;
  return findChunk(file, riffChunk, fourCc("data"), &dataChunk) == RiffStatus::kOk ? kOk : kFail;
}

Result WaveReader::read(std::uint32_t count, void* destination, std::uint32_t* bytesRead) {
  *bytesRead = 0;
  platform::RiffBuffer buffer;
  if (file == nullptr || platform::getRiffBuffer(file, &buffer) != RiffStatus::kOk) return kFail;
  const std::uint32_t size = std::min(count, dataChunk.cksize);
  dataChunk.cksize -= size;
  auto* out = static_cast<unsigned char*>(destination);
  for (std::uint32_t left = size; left > 0;) {
    if (buffer.next >= buffer.endRead) {
      // The file ended before its data chunk did.
      if (platform::advanceRiffBuffer(file, &buffer) != RiffStatus::kOk ||
          buffer.next >= buffer.endRead) {
        return kFail;
      }
    }
    const auto held = static_cast<std::uint32_t>(buffer.endRead - buffer.next);
    const std::uint32_t run = std::min(left, held);
    std::memcpy(out, buffer.next, run);
    out += run;
    buffer.next += run;
    left -= run;
  }
  if (platform::setRiffBuffer(file, &buffer) != RiffStatus::kOk) return kFail;
  *bytesRead = size;
  return kOk;
}

std::uint32_t WaveReader::dataBytesHeld() const {
  const std::uint32_t declared = dataChunk.cksize;
  const std::int64_t size = platform::riffFileSize(file);
  if (size < 0) return declared;
  const std::int64_t there = std::max<std::int64_t>(0, size - dataChunk.dwDataOffset);
  if (there >= declared) return declared;
  const std::uint32_t block = format != nullptr && format->nBlockAlign > 0 ? format->nBlockAlign : 1;
  const auto held = static_cast<std::uint32_t>(there);
  return held - held % block;
}

Result WaveReader::close() {
  platform::closeRiffFile(file);
  file = nullptr;
  return kOk;
}

void WaveReader::freeFormat() {
  heapFree(format);
  format = nullptr;
}

}  // namespace vorlanex
