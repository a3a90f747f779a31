// The WAV reader on files made here, byte by byte. The same source runs
// natively on our RIFF reader and, under Wine, on WINMM's mmio functions.
#include "audio/wave_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "wave_bytes.h"

namespace vorlanex {
namespace {

using namespace wavebytes;

const std::string kPcm = formatFields(1, 2, 22050, 16);
const std::string kFloat = formatFields(3, 2, 44100, 32);
const std::string kSamples = samplePattern(1000);

// Every chunk in front of the "data" chunk in one file, "data" last.
std::string waveWith(const std::string& chunks) {
  return riff("WAVE", chunks + chunk("data", kSamples));
}

// The bytes of a format block: the reader's view of `format`.
std::string blockOf(const WaveFormat* format) {
  if (format == nullptr) return "none";
  return std::string(reinterpret_cast<const char*>(format), sizeof(WaveFormat) + format->cbSize);
}

class WaveFile : public ::testing::Test {
 protected:
  std::string write(const std::string& bytes) {
    const std::string name = "Sound/s" + std::to_string(files_++) + ".wav";
    root_.write(name, bytes);
    return "./" + name;
  }
  // Everything the reader has left to give, taken in one read.
  static std::string readAll(WaveReader& reader) {
    std::string bytes(reader.dataChunk.cksize, '\0');
    std::uint32_t got = 0;
    EXPECT_EQ(reader.read(reader.dataChunk.cksize, bytes.data(), &got), kOk);
    bytes.resize(got);
    return bytes;
  }

  test::TempFolder root_;
  int files_ = 0;
};

struct OpenCase {
  const char* name;
  std::string file;
  OpenFailure failure;
  std::string format = "";  // the format block when one is held
  std::string samples = kSamples;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

// With the 16-byte field record, the extra size and the extra bytes.
std::string withExtra(const std::string& fields, const std::string& extra) {
  return fields + u16(static_cast<std::uint16_t>(extra.size())) + extra;
}

const std::string kExtensible = withExtra(formatFields(0xFFFE, 2, 48000, 16), samplePattern(22));

const OpenCase kOpenCases[] = {
    {"AiffFile", "FORM" + u32(30) + "AIFFCOMM" + u32(18) + std::string(18, '\0'),
     OpenFailure::kNotRiff},
    {"TextFile", "[Sounds]\nSound00=./Sound/chime.wav\n", OpenFailure::kNotRiff},
    {"RiffNotWave", riff("AVI ", chunk("fmt ", kPcm)), OpenFailure::kNotWave},
    {"NoFormatChunk", waveWith(chunk("LIST", "INFO")), OpenFailure::kNoFormatChunk},
    {"FormatOf14Bytes", waveWith(chunk("fmt ", kPcm.substr(0, 14))), OpenFailure::kFormatTooShort},
    {"PcmOf16Bytes", waveWith(chunk("fmt ", kPcm)), OpenFailure::kNone, kPcm + u16(0)},
    {"PcmIgnoresItsExtraSize", waveWith(chunk("fmt ", kPcm + u16(22))), OpenFailure::kNone,
     kPcm + u16(0)},
    {"FloatWithoutExtraBytes", waveWith(chunk("fmt ", kFloat + u16(0))), OpenFailure::kNone,
     kFloat + u16(0)},
    {"ExtensibleWithItsExtraBytes", waveWith(chunk("fmt ", kExtensible)), OpenFailure::kNone,
     kExtensible},
    // A format chunk of 16 or 17 bytes has no room for an extra size: none is
    // taken from the next chunk's header.
    {"FloatOf16Bytes", waveWith(chunk("fmt ", kFloat)), OpenFailure::kNone, kFloat + u16(0)},
    {"FloatOf16BytesBeforeFact", waveWith(chunk("fmt ", kFloat) + chunk("fact", u32(125))),
     OpenFailure::kNone, kFloat + u16(0)},
    {"FloatOf17Bytes", waveWith(chunk("fmt ", kFloat + "\x16")), OpenFailure::kNone,
     kFloat + u16(0)},
    // An extra size larger than its chunk is believed: the extra bytes run on
    // into the next chunk, as the format says nothing against it.
    {"ExtraBytesBeyondTheChunk", waveWith(chunk("fmt ", kFloat + u16(4))), OpenFailure::kNone,
     kFloat + u16(4) + "data"},
    {"DataBeforeFormat", riff("WAVE", chunk("data", kSamples) + chunk("fmt ", kPcm)),
     OpenFailure::kNone, kPcm + u16(0)},
    {"OddChunksSkippedWithTheirPadByte",
     riff("WAVE", chunk("odd ", "abc") + chunk("fmt ", kPcm) + chunk("junk", "d") +
                      chunk("data", kSamples)),
     OpenFailure::kNone, kPcm + u16(0)},
    {"FirstDataChunkCounts",
     riff("WAVE", chunk("fmt ", kPcm) + chunk("data", kSamples) + chunk("data", "later")),
     OpenFailure::kNone, kPcm + u16(0)},
    {"NoDataChunk", riff("WAVE", chunk("fmt ", kPcm)), OpenFailure::kNoDataChunk, kPcm + u16(0)},
    {"DataAfterTheEndOfRiff", riff("WAVE", chunk("fmt ", kPcm)) + chunk("data", kSamples),
     OpenFailure::kNoDataChunk, kPcm + u16(0)},
    // "junk" claims to run on past the RIFF chunk's end, where "data" lies.
    {"ChunkRunningPastTheEndOfRiff",
     riff("WAVE", chunk("fmt ", kPcm) + chunkHeader("junk", 16)) + std::string(16, 'z') +
         chunk("data", kSamples),
     OpenFailure::kNoDataChunk, kPcm + u16(0)},
    {"DataRunningPastTheEndOfRiff",
     riff("WAVE", chunk("fmt ", kPcm) + chunkHeader("data", 1000)) + kSamples, OpenFailure::kNone,
     kPcm + u16(0)},
    {"RiffSizeOfAllOnes",
     chunkHeader("RIFF", 0xFFFFFFFF) + "WAVE" + chunk("fmt ", kPcm) + chunk("data", kSamples),
     OpenFailure::kNone, kPcm + u16(0)},
    // A size that brings a 32-bit offset back to the same header: a search
    // must end there, not go round for ever.
    {"ChunkSizeSteppingBack",
     chunkHeader("RIFF", 0xFFFFFFFF) + "WAVE" + chunk("fmt ", kPcm) +
         chunkHeader("junk", 0xFFFFFFF8) + chunk("data", kSamples),
     OpenFailure::kNoDataChunk, kPcm + u16(0)},
    {"FormatCutShort", riff("WAVE", chunkHeader("fmt ", 16) + kPcm.substr(0, 10)),
     OpenFailure::kFormatCutShort},
    {"ExtraSizeCutShort", riff("WAVE", chunkHeader("fmt ", 18) + kFloat + "\x01"),
     OpenFailure::kFormatCutShort},
    {"ExtraSizeOf65535InAShortFile", waveWith(chunk("fmt ", kFloat + u16(65535))),
     OpenFailure::kExtraCutShort},
};

class WaveOpen : public WaveFile, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(WaveOpen, LeavesTheReaderAsItsStageSays) {
  const OpenCase& c = GetParam();
  WaveReader reader;
  EXPECT_EQ(reader.open(write(c.file).c_str()), c.failure == OpenFailure::kNone ? kOk : kFail);
  EXPECT_EQ(reader.lastOpenFailure(), c.failure) << describeOpenFailure(reader.lastOpenFailure());
  const bool held = c.failure == OpenFailure::kNone || c.failure == OpenFailure::kNoDataChunk;
  EXPECT_EQ(reader.file != nullptr, held);
  EXPECT_EQ(blockOf(reader.format), held ? c.format : "none");
  if (c.failure == OpenFailure::kNone) {
    EXPECT_EQ(reader.dataChunk.ckid, platform::fourCc("data"));
    EXPECT_EQ(reader.dataChunk.cksize, c.samples.size());
    EXPECT_EQ(readAll(reader), c.samples);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, WaveOpen, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WaveFile, FailsOnEveryHeaderCutShort) {
  const std::string whole = waveWith(chunk("fmt ", kExtensible));
  const std::size_t header = whole.size() - kSamples.size();
  for (std::size_t length = 0; length < header; ++length) {
    WaveReader reader;
    EXPECT_EQ(reader.open(write(whole.substr(0, length)).c_str()), kFail) << length;
    const bool halfOpen = reader.lastOpenFailure() == OpenFailure::kNoDataChunk;
    EXPECT_EQ(reader.file != nullptr, halfOpen) << length;
    EXPECT_EQ(reader.format != nullptr, halfOpen) << length;
  }
  WaveReader reader;
  EXPECT_EQ(reader.open(write(whole.substr(0, 7)).c_str()), kFail);
  EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::kNotRiff);
  EXPECT_EQ(reader.open(write(whole.substr(0, 11)).c_str()), kFail);
  EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::kNotWave);
}

TEST_F(WaveFile, FindsFilesTheWayWindowsDoes) {
  root_.write("Sound/Cabin/Chime.WAV", waveWith(chunk("fmt ", kPcm)));
  WaveReader reader;
  EXPECT_EQ(reader.open(".\\sound\\CABIN\\chime.wav"), kOk);
  for (const char* path : {"./Sound/Cabin/none.wav", "./Sound/Cabin", ""}) {
    EXPECT_EQ(reader.open(path), kFail) << path;
    EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::kNoFile) << path;
    EXPECT_EQ(reader.file, nullptr);
    EXPECT_EQ(reader.format, nullptr);
  }
  EXPECT_EQ(reader.open(nullptr), kFail);
}

TEST_F(WaveFile, ReadsTheSameBytesAfterRewind) {
  const std::string samples = samplePattern(20000);
  WaveReader reader;
  ASSERT_EQ(reader.open(write(wave(kPcm, samples)).c_str()), kOk);
  EXPECT_EQ(readAll(reader), samples);
  EXPECT_EQ(reader.dataChunk.cksize, 0u);
  EXPECT_EQ(reader.rewind(), kOk);
  EXPECT_EQ(reader.dataChunk.cksize, samples.size());
  EXPECT_EQ(readAll(reader), samples);
}

TEST_F(WaveFile, NeverHandsOutMoreThanTheDataChunk) {
  WaveReader reader;
  ASSERT_EQ(reader.open(write(wave(kPcm, kSamples) + "trailing bytes").c_str()), kOk);
  std::vector<char> out(kSamples.size() + 100, '#');
  std::uint32_t got = 99;
  EXPECT_EQ(reader.read(static_cast<std::uint32_t>(out.size()), out.data(), &got), kOk);
  EXPECT_EQ(got, kSamples.size());
  EXPECT_EQ(std::string(out.data(), got), kSamples);
  EXPECT_EQ(out[kSamples.size()], '#');
  EXPECT_EQ(reader.read(10, out.data(), &got), kOk);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(reader.read(0, nullptr, &got), kOk);
  EXPECT_EQ(got, 0u);
}

TEST_F(WaveFile, ReadsInPiecesAcrossRefills) {
  const std::string samples = samplePattern(40000);
  WaveReader reader;
  ASSERT_EQ(reader.open(write(wave(kPcm, samples)).c_str()), kOk);
  const std::uint32_t pieces[] = {1, 7, 8191, 8193, 3, 4093, 16385, 1, 12345};
  std::string seen;
  for (int round = 0; reader.dataChunk.cksize > 0; ++round) {
    std::string piece(pieces[round % 9], '\0');
    std::uint32_t got = 0;
    ASSERT_EQ(reader.read(pieces[round % 9], piece.data(), &got), kOk);
    seen += piece.substr(0, got);
  }
  EXPECT_EQ(seen, samples);
}

TEST_F(WaveFile, FileEndingInsideItsDataFailsTheRead) {
  const std::string samples = samplePattern(5000);
  WaveReader reader;
  ASSERT_EQ(
      reader.open(
          write(riff("WAVE", chunk("fmt ", kPcm) + chunkHeader("data", 20000) + samples)).c_str()),
      kOk);
  std::vector<char> out(20000);
  std::uint32_t got = 99;
  EXPECT_EQ(reader.read(20000, out.data(), &got), kFail);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(reader.dataChunk.cksize, 0u);
  EXPECT_EQ(std::string(out.data(), samples.size()), samples);
  EXPECT_EQ(reader.rewind(), kOk);
  EXPECT_EQ(reader.dataChunk.cksize, 20000u);
}

// A data size of 0xFFFFFFFF: a read of it all stops writing where the file
// ends, and the sanitizers check that nothing beyond is touched.
TEST_F(WaveFile, HugeDataSizeReadsOnlyWhatTheFileHas) {
  const std::string samples = samplePattern(3000);
  WaveReader reader;
  ASSERT_EQ(reader.open(
                write(riff("WAVE", chunk("fmt ", kPcm) + chunkHeader("data", 0xFFFFFFFF) + samples))
                    .c_str()),
            kOk);
  EXPECT_EQ(reader.dataChunk.cksize, 0xFFFFFFFFu);
  std::vector<char> out(samples.size());
  std::uint32_t got = 0;
  EXPECT_EQ(reader.read(1000, out.data(), &got), kOk);
  EXPECT_EQ(reader.read(0xFFFFFFFF, out.data() + 1000, &got), kFail);
  EXPECT_EQ(std::string(out.data(), out.size()), samples);
}

TEST_F(WaveFile, ReaderWithoutFileFailsQuietly) {
  WaveReader reader;
  std::uint32_t got = 99;
  char byte;
  EXPECT_EQ(reader.read(1, &byte, &got), kFail);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(reader.rewind(), kFail);
  EXPECT_EQ(reader.close(), kOk);
  EXPECT_EQ(reader.lastOpenFailure(), OpenFailure::kNone);
}

TEST_F(WaveFile, HalfOpenReaderKeepsFileAndFormatUntilClosed) {
  WaveReader reader;
  EXPECT_EQ(reader.open(write(riff("WAVE", chunk("fmt ", kPcm))).c_str()), kFail);
  EXPECT_NE(reader.file, nullptr);
  EXPECT_NE(reader.format, nullptr);
  EXPECT_EQ(reader.close(), kOk);
  EXPECT_EQ(reader.file, nullptr);
  EXPECT_EQ(reader.close(), kOk);
}

TEST_F(WaveFile, OpeningAgainLetsGoOfTheFirstFile) {
  const std::string second = samplePattern(77);
  WaveReader reader;
  ASSERT_EQ(reader.open(write(waveWith(chunk("fmt ", kExtensible))).c_str()), kOk);
  ASSERT_EQ(reader.open(write(wave(kPcm, second)).c_str()), kOk);
  EXPECT_EQ(blockOf(reader.format), kPcm + u16(0));
  EXPECT_EQ(readAll(reader), second);
  EXPECT_EQ(reader.open(write("not a wave").c_str()), kFail);
  EXPECT_EQ(reader.file, nullptr);
  EXPECT_EQ(reader.format, nullptr);
}

}  // namespace
}  // namespace vorlanex
