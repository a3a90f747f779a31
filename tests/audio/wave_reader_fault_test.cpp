// Every call the reader makes to the RIFF seam, failed in turn on the portable
// seam: each open ends in success or in the state of the stage it reports,
// each read failure leaves what the reader promises, and no file stays open.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "audio/wave_reader.h"
#include "platform/portable/riff_file_faults.h"
#include "platform/portable/riff_memory_files.h"
#include "support/temp_folder.h"
#include "wave_bytes.h"

namespace vorlanex {
namespace {

using namespace wavebytes;
using platform::RiffCall;

const std::string kSamples = samplePattern(20000);
const std::string kPath = "./sound.wav";

class WaveReaderFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.write(kPath, riff("WAVE", chunk("odd ", "abc") +
                                        chunk("fmt ", formatFields(0xFFFE, 2, 48000, 16) + u16(22) +
                                                          samplePattern(22)) +
                                        chunk("data", kSamples)));
    platform::resetRiffFaults();
  }
  void TearDown() override {
    platform::resetRiffFaults();
    EXPECT_EQ(platform::openRiffFiles(), 0);
  }
  test::TempFolder root_;
};

// A call that fails is told as a read error, never as a file without the
// chunk it was looking for. Only a failure in the search for the data chunk
// leaves the file and the format held, as a missing data chunk does.
TEST_F(WaveReaderFaults, OpenTellsAFailedCallFromAMalformedFile) {
  struct Stage {
    OpenFailure failure;
    bool halfOpen;
    bool operator==(const Stage& o) const { return failure == o.failure && halfOpen == o.halfOpen; }
  };
  const Stage header{OpenFailure::kReadError, false};
  const Stage data{OpenFailure::kReadError, true};
  const std::map<RiffCall, std::vector<Stage>> expected = {
      {RiffCall::kOpen, {{OpenFailure::kNoFile, false}}},
      {RiffCall::kDescend, {header, header, header, data, data, data}},
      {RiffCall::kAscend, {{OpenFailure::kFormatChunkEnd, false}}},
      {RiffCall::kRead, {header, header, header}},
      {RiffCall::kSeek, {header, header, data, data, data}},
      {RiffCall::kGetBuffer, {}},
      {RiffCall::kAdvance, {}},
      {RiffCall::kSetBuffer, {}},
  };
  for (const auto& [call, stages] : expected) {
    std::vector<Stage> seen;
    for (int nth = 1; nth < 100; ++nth) {
      platform::resetRiffFaults();
      platform::failRiffCall(call, nth);
      WaveReader reader;
      const Result result = reader.open(kPath.c_str());
      if (!platform::riffFaultStruck()) {
        EXPECT_EQ(result, kOk);
        break;
      }
      EXPECT_EQ(result, kFail);
      EXPECT_EQ(reader.file != nullptr, reader.format != nullptr);
      seen.push_back({reader.lastOpenFailure(), reader.file != nullptr});
    }
    EXPECT_TRUE(seen == stages) << "call kind " << static_cast<int>(call);
    EXPECT_EQ(platform::openRiffFiles(), 0);
  }
}

// A read that fails leaves bytesRead 0. Only the failure to get at the buffer
// keeps the remaining size; after a failed refill or hand-back the size is
// already lowered. A rewind brings everything back either way.
TEST_F(WaveReaderFaults, FailedReadLeavesWhatTheReaderPromises) {
  const struct {
    RiffCall call;
    int nth;
    std::uint32_t remaining;
  } cases[] = {
      {RiffCall::kGetBuffer, 1, 20000},
      {RiffCall::kAdvance, 1, 0},
      {RiffCall::kAdvance, 2, 0},
      {RiffCall::kSetBuffer, 1, 0},
  };
  for (const auto& c : cases) {
    WaveReader reader;
    ASSERT_EQ(reader.open(kPath.c_str()), kOk);
    platform::failRiffCall(c.call, c.nth);
    std::string out(kSamples.size(), '\0');
    std::uint32_t got = 99;
    EXPECT_EQ(reader.read(20000, out.data(), &got), kFail);
    EXPECT_TRUE(platform::riffFaultStruck());
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(reader.dataChunk.cksize, c.remaining);
    ASSERT_EQ(reader.rewind(), kOk);
    EXPECT_EQ(reader.read(20000, out.data(), &got), kOk);
    EXPECT_EQ(out, kSamples);
  }
}

TEST_F(WaveReaderFaults, FailedRewindCanBeTriedAgain) {
  WaveReader reader;
  ASSERT_EQ(reader.open(kPath.c_str()), kOk);
  platform::failRiffCall(RiffCall::kSeek, 1);
  EXPECT_EQ(reader.rewind(), kFail);
  EXPECT_EQ(reader.rewind(), kOk);
  EXPECT_EQ(reader.dataChunk.cksize, kSamples.size());
}

TEST_F(WaveReaderFaults, OpeningAgainClosesTheFileHeldBefore) {
  WaveReader reader;
  ASSERT_EQ(reader.open(kPath.c_str()), kOk);
  ASSERT_EQ(reader.open(kPath.c_str()), kOk);
  EXPECT_EQ(platform::openRiffFiles(), 1);
  root_.write("half.wav", riff("WAVE", chunk("fmt ", formatFields(1, 1, 8000, 8))));
  EXPECT_EQ(reader.open("./half.wav"), kFail);
  EXPECT_EQ(platform::openRiffFiles(), 1);
}

// A file registered in memory reads as the same bytes on disk do, without the
// disk: what the fuzz target relies on.
TEST_F(WaveReaderFaults, AFileInMemoryReadsAsOnDisk) {
  const std::string bytes =
      riff("WAVE", chunk("fmt ", formatFields(1, 2, 48000, 16)) + chunk("data", kSamples));
  root_.write(kPath, bytes);
  platform::registerMemoryFile("memory.wav", bytes.data(), bytes.size());
  WaveReader fromMemory;
  WaveReader fromDisk;
  ASSERT_EQ(fromMemory.open("memory.wav"), kOk);
  platform::forgetMemoryFile("memory.wav");
  ASSERT_EQ(fromDisk.open(kPath.c_str()), kOk);
  EXPECT_EQ(fromMemory.dataBytesHeld(), fromDisk.dataBytesHeld());
  std::string a(kSamples.size(), '\0');
  std::string b(kSamples.size(), '\0');
  std::uint32_t got = 0;
  ASSERT_EQ(fromMemory.read(static_cast<std::uint32_t>(a.size()), a.data(), &got), kOk);
  ASSERT_EQ(fromDisk.read(static_cast<std::uint32_t>(b.size()), b.data(), &got), kOk);
  EXPECT_EQ(a, kSamples);
  EXPECT_EQ(a, b);
  WaveReader forgotten;
  EXPECT_EQ(forgotten.open("memory.wav"), kFail) << "a forgotten path is looked for on disk";
}

}  // namespace
}  // namespace vorlanex
