// What the RIFF seam promises, checked on real files. The same source runs
// natively against our reader and, cross-compiled, under Wine against WINMM's
// mmio functions, so the two cannot drift apart.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/riff_file.h"
#include "support/temp_folder.h"
#include "wave_bytes.h"

namespace vorlanex::platform {
namespace {

using namespace wavebytes;

std::uint32_t idOf(const char* id) {
  std::uint32_t value;
  std::memcpy(&value, id, sizeof value);
  return value;
}

// A pointer `distance` bytes away, wherever that lands.
char* shifted(char* pointer, std::intptr_t distance) {
  return reinterpret_cast<char*>(reinterpret_cast<std::intptr_t>(pointer) + distance);
}

class RiffFileContract : public ::testing::Test {
 protected:
  RiffFile* open(const std::string& bytes) {
    root_.write("Sound/f" + std::to_string(files_) + ".wav", bytes);
    close();
    file_ = openRiffFile(("./Sound/f" + std::to_string(files_++) + ".wav").c_str());
    return file_;
  }
  void close() {
    closeRiffFile(file_);
    file_ = nullptr;
  }
  void TearDown() override { close(); }

  // The next `count` bytes the file hands out.
  std::string next(std::int32_t count) {
    std::string bytes(static_cast<std::size_t>(count), '\0');
    const std::int32_t got = readRiffFile(file_, bytes.data(), count);
    bytes.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return bytes;
  }

  test::TempFolder root_;
  RiffFile* file_ = nullptr;
  int files_ = 0;
};

TEST_F(RiffFileContract, OpensExistingFilesByWindowsName) {
  root_.write("Sound/Cabin/Chime.WAV", "x");
  for (const char* path :
       {"./Sound/Cabin/Chime.WAV", "sound\\cabin\\chime.wav", ".\\SOUND/cabin\\CHIME.wav"}) {
    RiffFile* file = openRiffFile(path);
    EXPECT_NE(file, nullptr) << path;
    closeRiffFile(file);
  }
  for (const char* path : {"./Sound/Cabin/none.wav", "./Sound/Cabin", "./Sound/", ".", ""}) {
    RiffFile* file = openRiffFile(path);
    EXPECT_EQ(file, nullptr) << path;
    closeRiffFile(file);
  }
  closeRiffFile(nullptr);
}

TEST_F(RiffFileContract, DescendsIntoChunksAndAscendsPastTheirPadByte) {
  const std::string format = formatFields(1, 1, 8000, 8);
  ASSERT_NE(open(riff("WAVE", chunk("fmt ", format) + chunk("LIST", "INFOab") +
                                  chunk("odd ", "xyz") + chunk("data", "DATA"))),
            nullptr);
  ChunkInfo riffChunk;
  std::memset(&riffChunk, 0x55, sizeof riffChunk);
  ASSERT_EQ(descendChunk(file_, &riffChunk), RiffStatus::kOk);
  EXPECT_EQ(riffChunk.ckid, fourCc("RIFF"));
  EXPECT_EQ(riffChunk.cksize, 4u + 24 + 14 + 12 + 12);
  EXPECT_EQ(riffChunk.fccType, fourCc("WAVE"));
  EXPECT_EQ(riffChunk.dwDataOffset, 8u);
  EXPECT_EQ(riffChunk.dwFlags, 0u);

  struct {
    const char* id;
    std::uint32_t size, type, offset;
    const char* firstBytes;  // the position after descending
  } chunks[] = {
      {"fmt ", 16, 0, 20, "\x01\x00"},
      {"LIST", 6, fourCc("INFO"), 44, "ab"},
      {"odd ", 3, 0, 58, "xy"},  // followed by a pad byte
      {"data", 4, 0, 70, "DA"},
  };
  for (const auto& c : chunks) {
    ChunkInfo chunk;
    std::memset(&chunk, 0x55, sizeof chunk);
    ASSERT_EQ(descendChunk(file_, &chunk), RiffStatus::kOk) << c.id;
    EXPECT_EQ(chunk.ckid, idOf(c.id)) << c.id;
    EXPECT_EQ(chunk.cksize, c.size) << c.id;
    EXPECT_EQ(chunk.fccType, c.type) << c.id;
    EXPECT_EQ(chunk.dwDataOffset, c.offset) << c.id;
    EXPECT_EQ(chunk.dwFlags, 0u) << c.id;
    EXPECT_EQ(next(2), std::string(c.firstBytes, 2)) << c.id;
    EXPECT_EQ(ascendChunk(file_, &chunk), RiffStatus::kOk) << c.id;
  }
  ChunkInfo end;
  EXPECT_EQ(descendChunk(file_, &end), RiffStatus::kNotFound);
}

// A header cut short by the end of the file: fewer than 8 bytes is no chunk
// and the position stays; from 8 bytes on it is a chunk, and a form type cut
// short overwrites only the bytes that were there.
TEST_F(RiffFileContract, DescendsIntoHeadersCutShort) {
  const std::string whole = riff("WAVE", "");
  for (std::size_t length = 0; length <= whole.size(); ++length) {
    ASSERT_NE(open(whole.substr(0, length)), nullptr);
    ChunkInfo chunk;
    std::memset(&chunk, 0x55, sizeof chunk);
    ChunkInfo expected = chunk;
    std::memcpy(&expected, whole.data(), length);
    if (length >= 8) {
      expected.dwDataOffset = 8;
      expected.dwFlags = 0;
    }
    EXPECT_EQ(descendChunk(file_, &chunk), length < 8 ? RiffStatus::kNotFound : RiffStatus::kOk)
        << length;
    EXPECT_EQ(std::memcmp(&chunk, &expected, sizeof chunk), 0) << length;
    EXPECT_EQ(next(1), length < 8 ? whole.substr(0, length > 0 ? 1 : 0) : "") << length;
  }
}

TEST_F(RiffFileContract, AscendsIn32BitsAndStaysWhereItCannotGo) {
  ASSERT_NE(open(samplePattern(64)), nullptr);
  const std::string file = samplePattern(64);
  struct {
    std::uint32_t offset, size;
    std::size_t expected;  // position afterwards
  } cases[] = {
      {8, 5, 14}, {8, 6, 14}, {20, 0xFFFFFFFF, 20}, {20, 0xFFFFFFF7, 12}, {0x7FFFFFF0, 100, 3},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(seekRiffFile(file_, 3), 3);
    const ChunkInfo chunk = {fourCc("junk"), c.size, 0, c.offset, 0};
    EXPECT_EQ(ascendChunk(file_, &chunk), RiffStatus::kOk) << c.offset << " " << c.size;
    EXPECT_EQ(next(1), file.substr(c.expected, 1)) << c.offset << " " << c.size;
  }
}

TEST_F(RiffFileContract, ReadsAndSeeksLikeAFile) {
  const std::string file = samplePattern(20000);
  ASSERT_NE(open(file), nullptr);
  EXPECT_EQ(next(10), file.substr(0, 10));
  struct {
    std::int32_t offset, count;
  } cases[] = {{5, 9000}, {9000, 3}, {19990, 100}, {20000, 1}, {25000, 5}, {4, 4}, {0, 20000}};
  for (const auto& c : cases) {
    EXPECT_EQ(seekRiffFile(file_, c.offset), c.offset);
    const std::string expected = c.offset < 20000 ? file.substr(static_cast<std::size_t>(c.offset),
                                                                static_cast<std::size_t>(c.count))
                                                  : "";
    EXPECT_EQ(next(c.count), expected) << c.offset;
  }
  EXPECT_EQ(seekRiffFile(file_, -1), -1);
  EXPECT_EQ(next(0), "");
}

// What the reader's copy loop relies on: the bytes between next and endRead
// are the file's from the current position on, each refill brings the next
// ones, the end of the file shows as next == endRead, and what the caller
// took stays taken once the state is handed back.
TEST_F(RiffFileContract, HandsOutItsBufferDirectly) {
  const std::string file = samplePattern(20000);
  ASSERT_NE(open(file), nullptr);
  for (std::int32_t start : {0, 7, 8192, 9000, 19999, 20000, 30000}) {
    ASSERT_EQ(seekRiffFile(file_, start), start);
    RiffBuffer buffer;
    ASSERT_EQ(getRiffBuffer(file_, &buffer), RiffStatus::kOk);
    std::string seen;
    for (int refills = 0; refills < 10; ++refills) {
      ASSERT_LE(buffer.next, buffer.endRead);
      seen.append(buffer.next, buffer.endRead);
      buffer.next = buffer.endRead;
      ASSERT_EQ(advanceRiffBuffer(file_, &buffer), RiffStatus::kOk);
      if (buffer.next == buffer.endRead) break;
    }
    EXPECT_EQ(seen, start < 20000 ? file.substr(static_cast<std::size_t>(start)) : "") << start;
    EXPECT_EQ(setRiffBuffer(file_, &buffer), RiffStatus::kOk);
  }

  ASSERT_EQ(seekRiffFile(file_, 100), 100);
  RiffBuffer buffer;
  ASSERT_EQ(getRiffBuffer(file_, &buffer), RiffStatus::kOk);
  if (buffer.next == buffer.endRead) {
    ASSERT_EQ(advanceRiffBuffer(file_, &buffer), RiffStatus::kOk);
  }
  ASSERT_GE(buffer.endRead - buffer.next, 3);
  buffer.next += 3;
  ASSERT_EQ(setRiffBuffer(file_, &buffer), RiffStatus::kOk);
  EXPECT_EQ(next(4), file.substr(103, 4));
}

TEST_F(RiffFileContract, RefusesABufferStateOutsideItsBuffer) {
  ASSERT_NE(open(samplePattern(100)), nullptr);
  RiffBuffer buffer;
  ASSERT_EQ(getRiffBuffer(file_, &buffer), RiffStatus::kOk);
  RiffBuffer beyond = buffer;
  beyond.next = shifted(buffer.next, 100000);
  EXPECT_EQ(setRiffBuffer(file_, &beyond), RiffStatus::kFailed);
  RiffBuffer before = buffer;
  before.endRead = shifted(buffer.next, -1);
  EXPECT_EQ(setRiffBuffer(file_, &before), RiffStatus::kFailed);
  EXPECT_EQ(setRiffBuffer(file_, &buffer), RiffStatus::kOk);
  EXPECT_EQ(next(3), samplePattern(3));
}

}  // namespace
}  // namespace vorlanex::platform
