// What the profile seam promises, checked on real files. The same source runs
// natively against our reader and, cross-compiled, under Wine against the real
// GetPrivateProfileStringA / GetPrivateProfileIntA.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "platform/profile_file.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

using vorlanex::platform::readProfileInt;
using vorlanex::platform::readProfileString;

namespace {

// Each test runs in a fresh temporary folder, made the current one. Every
// file gets a new name: Windows caches profile files by name.
class ProfileFile : public ::testing::Test {
 protected:
  // Writes `text` byte for byte and returns a relative path to it.
  std::string write(const std::string& text, const std::string& name = "") {
    const std::string file =
        "sub/" + (name.empty() ? "f" + std::to_string(files_++) + ".ini" : name);
    root_.write(file, text);
    return "./" + file;
  }
  // The string read with default "DEF", checked against the count returned.
  static std::string read(const char* section, const char* key, const std::string& path,
                          const char* defaultValue = "DEF") {
    char out[256];
    std::memset(out, '#', sizeof out);
    const std::uint32_t count =
        readProfileString(section, key, defaultValue, out, sizeof out, path.c_str());
    EXPECT_EQ(count, std::strlen(out));
    return out;
  }

 private:
  vorlanex::test::TempFolder root_;
  int files_ = 0;
};

struct LookupCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  const char* expected;               // "DEF" is the default
  const char* wineDiffers = nullptr;  // why the case is skipped under Wine
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

const LookupCase kLookups[] = {
    {"Lf", "[Config]\nVolume=80\n", "Config", "Volume", "80"},
    {"Crlf", "[Config]\r\nVolume=80\r\n", "Config", "Volume", "80"},
    {"CrOnly", "[Config]\rVolume=80\r", "Config", "Volume", "80"},
    {"NoFinalNewline", "[Config]\nVolume=80", "Config", "Volume", "80"},
    {"BlanksAndCtrlZTrimmed", "\t[Config]\v\n\n \f\nVolume\t = \t80 \x1a\n", "Config", "Volume",
     "80"},
    {"Utf8BomSpoilsFirstHeader", "\xEF\xBB\xBF[Config]\nVolume=80\n", "Config", "Volume", "DEF",
     "Wine understands a UTF-8 byte-order mark"},
    {"NamesIgnoreCaseValueKeepsIt", "[CONFIG]\nvolume=MiXeD\n", "config", "VOLUME", "MiXeD"},
    {"NamesPassedAreTrimmed", "[Config]\nVolume=80\n", " Config ", " Volume ", "80"},
    {"HeaderNameTrimmed", "[ Config ]\nSound File=a.wav\n", "Config", "sound file", "a.wav"},
    {"TextAfterHeaderIgnored", "[Config]Volume=80\n", "Config", "Volume", "DEF"},
    {"HeaderWithoutBracket", "[Config   \nVolume=80\n", "Config", "Volume", "80",
     "Wine reads a header without ']' differently"},
    {"HeaderEndsAtFirstBracket", "[Config]x]\nVolume=80\n", "Config", "Volume", "80",
     "Wine reads a header with two ']' differently"},
    {"EmptySectionName", "[]\nVolume=80\n", "", "Volume", "80",
     "Wine's section \"\" is the lines before the first header"},
    {"LinesBeforeFirstHeaderUnreadable", "Volume=80\n[Other]\n", "", "Volume", "DEF",
     "Wine reads lines before the first header as a section"},
    {"KeyWithoutEqualsHasNoValue", "[Config]\nVolume\n", "Config", "Volume", "DEF"},
    {"FirstKeyLineWinsEvenWithoutEquals", "[Config]\nVolume\nVolume=80\n", "Config", "Volume",
     "DEF"},
    {"EmptyValueIsNotDefault", "[Config]\nVolume=\n", "Config", "Volume", ""},
    {"ValueMayContainEquals", "[Config]\nPath=a=b\n", "Config", "Path", "a=b"},
    {"SemicolonLineIsComment", "[Config]\n  ;Volume=80\n", "Config", ";Volume", "DEF",
     "Wine reads a ';' line as a key"},
    {"HashIsNoComment", "[Config]\n#Volume=80\n", "Config", "#Volume", "80"},
    {"NoInlineComment", "[Config]\nVolume=80 ;x\n", "Config", "Volume", "80 ;x"},
    {"MissingSection", "[Config]\nVolume=80\n", "Other", "Volume", "DEF"},
    {"MissingKey", "[Config]\nVolume=80\n", "Config", "Pitch", "DEF"},
    {"KeyOfNextSection", "[Config]\n[Other]\nVolume=80\n", "Config", "Volume", "DEF"},
    {"OnlyFirstSectionSearched", "[A]\nx=1\n[B]\n[a]\ny=2\n", "A", "y", "DEF"},
    {"FirstKeyWins", "[A]\nx=1\nX=2\n", "A", "x", "1"},
    {"DoubleQuotesStripped", "[A]\nx=\" a b \"\n", "A", "x", " a b "},
    {"SingleQuotesStripped", "[A]\nx='v'\n", "A", "x", "v"},
    {"OnlyOuterPairStripped", "[A]\nx='\"v\"'\n", "A", "x", "\"v\""},
    {"MismatchedQuotesKept", "[A]\nx=\"v'\n", "A", "x", "\"v'"},
    {"LoneQuoteKept", "[A]\nx=\"\n", "A", "x", "\""},
    {"EmptyQuotes", "[A]\nx=''\n", "A", "x", ""},
};

class ProfileLookup : public ProfileFile, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(ProfileLookup, ReadsValueOrDefault) {
  const LookupCase& c = GetParam();
  if (c.wineDiffers != nullptr && vorlanex::test::runsUnderWine()) GTEST_SKIP() << c.wineDiffers;
  EXPECT_EQ(read(c.section, c.key, write(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileLookup, ::testing::ValuesIn(kLookups),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileFile, CutsValueAndDefaultToBuffer) {
  const std::string path = write("[A]\nx=abcdef\n");
  struct {
    const char* defaultValue;
    std::uint32_t size;
    const char* key;
    const char* expected;
  } cases[] = {
      {"", 7, "x", "abcdef"},      {"", 6, "x", "abcde"},    {"", 1, "x", ""},
      {"ghijk", 4, "none", "ghi"}, {"ghijk", 1, "none", ""},
  };
  for (const auto& c : cases) {
    char out[16];
    const std::uint32_t count =
        readProfileString("A", c.key, c.defaultValue, out, c.size, path.c_str());
    EXPECT_STREQ(out, c.expected) << c.key << " size " << c.size;
    EXPECT_EQ(count, std::strlen(c.expected));
  }
  char untouched[] = "zz";
  EXPECT_EQ(readProfileString("A", "x", "", untouched, 0, path.c_str()), 0u);
  EXPECT_STREQ(untouched, "zz");
}

TEST_F(ProfileFile, DefaultLosesTrailingSpacesOnly) {
  const std::string path = write("[A]\n");
  EXPECT_EQ(read("A", "x", path, "  d e  "), "  d e");
  EXPECT_EQ(read("A", "x", path, "d\t "), "d\t");
  EXPECT_EQ(read("A", "x", path, nullptr), "");
}

TEST_F(ProfileFile, FindsFileByEitherSeparatorRelativeToCurrentDirectory) {
  write("[A]\nx=1\n", "p.ini");
  for (const char* path :
       {"./sub/p.ini", "sub/p.ini", ".\\sub\\p.ini", "sub\\p.ini", "sub\\..\\sub/p.ini"}) {
    EXPECT_EQ(read("A", "x", path), "1") << path;
  }
}

TEST_F(ProfileFile, MissingOrBareFileNameGivesDefault) {
  std::ofstream("bare.ini", std::ios::binary)
      << "[A]\nx=1\n";  // a bare name means the Windows directory
  write("", "empty.ini");
  for (const char* path : {"bare.ini", "", "./sub/none.ini", "./none/x.ini", "./sub/empty.ini"}) {
    EXPECT_EQ(read("A", "x", path), "DEF") << path;
  }
}

TEST_F(ProfileFile, ReadsIntegers) {
  const std::string path = write(
      "[A]\nneg=-1\nwrap=4294967297\nstop=42A9\nnone=B42\nhex=0x1F\nupper=0X1F\noct=0o17\nbin="
      "0b101\n"
      "zero=010\nplus=+7\nnhex=-0x10\nquoted=' 12'\nempty=\nnoeq\nmin=2147483648\n"
      "spaced=- 5\ntwosigns=+-1\nbadoct=0o8\nbadbin=0b2\nall=0xffffffff\nnwrap=-4294967295\n"
      "frac=1.5\nctrl=\x01 12\n");
  struct {
    const char* key;
    std::int32_t expected;
  } cases[] = {
      {"neg", -1},        {"wrap", 1},    {"stop", 42},    {"none", 0},   {"hex", 31},
      {"upper", 0},       {"oct", 15},    {"bin", 5},      {"zero", 10},  {"plus", 7},
      {"nhex", -16},      {"quoted", 12}, {"empty", 99},   {"noeq", 99},  {"missing", 99},
      {"min", INT32_MIN}, {"spaced", 0},  {"twosigns", 0}, {"badoct", 0}, {"badbin", 0},
      {"all", -1},        {"nwrap", 1},   {"frac", 1},     {"ctrl", 12},
  };
  for (const auto& c : cases)
    EXPECT_EQ(readProfileInt("A", c.key, 99, path.c_str()), c.expected) << c.key;
  EXPECT_EQ(readProfileInt("A", "neg", 99, "./sub/none.ini"), 99);
}

}  // namespace
