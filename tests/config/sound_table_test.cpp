// What the slot table holds after the INI file is read: paths, volumes,
// names and the error value, through the real profile functions.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "config/load_configuration.h"
#include "module/gauge_records.h"
#include "panel_host.h"
#include "support/temp_folder.h"

namespace vorlanex {
namespace {

constexpr const char* kIni = "./Gauges/zeb_xml_sound.ini";

// Reads `ini` into a table of its own, with a host serving the registrations.
std::unique_ptr<SoundTable> readTable(const std::string& ini) {
  test::TempFolder root;
  root.write(kIni, ini);
  abi::ImportRecord imports{kPanelsTableId, nullptr, 0, nullptr};
  host::PanelHost host({&Linkage, &imports});
  auto table = std::make_unique<SoundTable>();
  readSoundTable(kIni, *table, PanelServices(&imports));
  return table;
}

TEST(SoundTable, HoldsTheExampleConfiguration) {
  const auto table = readTable(
      "[Config]\nMaxSounds=3\nErrorFlag=-1\nLvarStop=cabin_quiet\n\n"
      "[Sounds]\nSound00=./Sound/Cabin/chime.wav\nSound01=./Sound/Cabin/fan.wav,80\n\n"
      "[LVars]\nLvar00=cabin_chime\nLvar01=cabin_fan\n");
  ASSERT_EQ(table->soundCount, 3);
  EXPECT_EQ(table->errorValue, -1);

  struct Expected {
    const char* path;
    float volume;
    const char* name;
  };
  const Expected expected[] = {{"./Sound/Cabin/chime.wav", 0.0f, "cabin_chime"},
                               {"./Sound/Cabin/fan.wav", -2000.0f, "cabin_fan"},
                               {"./Sound/zeb/zeb_xml_02.wav", 0.0f, "zeb_xml_id_02"}};
  for (int i = 0; i < 3; ++i) {
    const SoundSlot& slot = table->slots[i];
    EXPECT_STREQ(slot.wavePath, expected[i].path) << i;
    EXPECT_EQ(slot.volume, expected[i].volume) << i;
    EXPECT_STREQ(slot.varName, expected[i].name) << i;
    EXPECT_EQ(slot.loaded, 0);
    EXPECT_EQ(slot.started, 0);
  }
  const StopAllVariable& stop = table->stopAll;
  EXPECT_STREQ(stop.varName, "cabin_quiet");
  // The ids kept are the host's: variables were registered in index order
  // from the top, the stop-all variable last.
  EXPECT_EQ(table->slots[2].varId, 0);
  EXPECT_EQ(table->slots[0].varId, 2);
  EXPECT_EQ(stop.varId, 3);
}

TEST(SoundTable, SoundsValuesSplitAtTheFirstCommaIntoPathAndPercent) {
  struct Case {
    const char* value;
    const char* path;
    float volume;
  };
  const Case cases[] = {
      {"engine.wav, 50", "engine.wav", -5000.0f},
      {"engine.wav ,50", "engine.wav ", -5000.0f},
      {"a.wav,", "a.wav", -10000.0f},
      {"a.wav", "a.wav", 0.0f},
      {",80", "", -2000.0f},
      // Beyond 0 to 100 % the volume is held at full or silent: the device
      // would refuse it.
      {"loud.wav,150", "loud.wav", 0.0f},
      {"odd.wav,12.5", "odd.wav", -8750.0f},
      {"x.wav,abc", "x.wav", -10000.0f},
      {"x.wav,70,90", "x.wav", -3000.0f},
      {"x.wav, -20 dB", "x.wav", -10000.0f},
      {"x.wav,42949721.76", "x.wav", 0.0f},
      {"x.wav,nan", "x.wav", -10000.0f},
      {"x.wav,-inf", "x.wav", -10000.0f},
      {"\"quoted path.wav\"", "quoted path.wav", 0.0f},
      {"huge.wav,1e300", "huge.wav", 0.0f},
  };
  std::string ini = "[Config]\nMaxSounds=" + std::to_string(std::size(cases)) + "\n[Sounds]\n";
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    ini += (i < 10 ? "Sound0" : "Sound") + std::to_string(i) + "=" + cases[i].value + "\n";
  }
  const auto table = readTable(ini);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_STREQ(table->slots[i].wavePath, cases[i].path) << cases[i].value;
    EXPECT_EQ(table->slots[i].volume, cases[i].volume) << cases[i].value;
  }
}

TEST(SoundTable, OnlyTwoDigitKeysBelowTheCountAreRead) {
  const auto table = readTable(
      "[Config]\nMaxSounds=13\n"
      "[Sounds]\nSound5=five.wav\nSound12=\nSound07=seven.wav\nSound13=beyond.wav\n");
  EXPECT_STREQ(table->slots[5].wavePath, "./Sound/zeb/zeb_xml_05.wav");
  EXPECT_STREQ(table->slots[7].wavePath, "seven.wav");
  EXPECT_STREQ(table->slots[12].wavePath, "./Sound/zeb/zeb_xml_12.wav");
  EXPECT_STREQ(table->slots[13].wavePath, "") << "record 13 is beyond the count";
  EXPECT_STREQ(table->stopAll.varName, "zeb_stop_sounds");
}

TEST(SoundTable, ErrorValueIsMinusOneOnlyForAnErrorFlagOfMinusOne) {
  struct Case {
    const char* line;
    std::int32_t errorValue;
  };
  const Case cases[] = {{"ErrorFlag=-1", -1},   {"ErrorFlag=1", 0},
                        {"ErrorFlag=x", 0},     {"ErrorFlag=", 0},
                        {"Other=1", 0},         {"ErrorFlag = -1 ", -1},
                        {"ErrorFlag=-1.5", -1}, {"ErrorFlag=4294967295", -1}};
  for (const Case& c : cases) {
    const auto table = readTable(std::string("[Config]\nMaxSounds=0\n") + c.line + "\n");
    EXPECT_EQ(table->errorValue, c.errorValue) << c.line;
  }
}

TEST(SoundTable, LongValuesAreCutTo127Characters) {
  const std::string longPath = "./" + std::string(198, 'w');
  const std::string longName = std::string(200, 'v');
  const auto table =
      readTable("[Config]\nMaxSounds=1\nLvarStop=" + longName + "\n[Sounds]\nSound00=" + longPath +
                ",50\n[LVars]\nLvar00=" + longName + "\n");
  EXPECT_EQ(std::string(table->slots[0].wavePath), longPath.substr(0, 127));
  EXPECT_EQ(table->slots[0].volume, 0.0f) << "the comma was cut off with the rest";
  EXPECT_EQ(std::string(table->slots[0].varName), longName.substr(0, 127));
  EXPECT_EQ(std::string(table->stopAll.varName), longName.substr(0, 127));
}

TEST(SoundTable, AClearedTableLeavesRecordsBeyondTheCountAlone) {
  test::TempFolder root;
  root.write(kIni, "[Config]\nMaxSounds=1\n");
  abi::ImportRecord imports{kPanelsTableId, nullptr, 0, nullptr};
  host::PanelHost host({&Linkage, &imports});
  auto table = std::make_unique<SoundTable>();
  table->slots[0].loaded = 1;
  table->slots[1].loaded = 1;
  table->stopAll.varId = 99;
  readSoundTable(kIni, *table, PanelServices(&imports));
  EXPECT_EQ(table->slots[0].loaded, 0);
  EXPECT_EQ(table->slots[1].loaded, 1);
  EXPECT_EQ(table->stopAll.varId, 1) << "the stop-all variable is read afresh";
}

}  // namespace
}  // namespace vorlanex
