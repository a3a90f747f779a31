// Reading the INI file at post-install, as the host sees it: which variables
// the module registers, in what order, from which file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/loaded_panel.h"
#include "support/temp_folder.h"

namespace vorlanex {
namespace {

using Names = std::vector<std::string>;
using test::LoadedPanel;
using test::TempFolder;

const char* const kExampleIni =
    "[Config]\r\n"
    "MaxSounds=3\r\n"
    "ErrorFlag=-1\r\n"
    "LvarStop=cabin_quiet\r\n"
    "\r\n"
    "[Sounds]\r\n"
    "Sound00=./Sound/Cabin/chime.wav\r\n"
    "Sound01=./Sound/Cabin/fan.wav,80\r\n"
    "\r\n"
    "[LVars]\r\n"
    "Lvar00=cabin_chime\r\n"
    "Lvar01=cabin_fan\r\n";

// Installs a gauge with the given parameter string and returns the names the
// module registered.
Names installAndList(LoadedPanel& panel, const std::string& parameters = "") {
  panel.host.setParameters(parameters);
  panel.host.service(abi::kPostInstall);
  return panel.host.registeredNames();
}

Names defaultNames(int soundCount, const std::string& stopAll = "zeb_stop_sounds") {
  Names names;
  for (int i = soundCount - 1; i >= 0; --i) {
    names.push_back((i < 10 ? "zeb_xml_id_0" : "zeb_xml_id_") + std::to_string(i));
  }
  names.push_back(stopAll);
  return names;
}

TEST(Configuration, EachRegistrationIsFollowedByItsLookupHighestIndexFirst) {
  TempFolder root;
  root.write("Gauges/zeb_xml_sound.ini", kExampleIni);
  LoadedPanel panel;
  installAndList(panel);

  const char* order[] = {"zeb_xml_id_02", "cabin_fan", "cabin_chime", "cabin_quiet"};
  const auto& calls = panel.host.calls();
  ASSERT_EQ(calls.size(), 8u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[2 * i].entry, abi::kRegisterNamedVariable);
    EXPECT_EQ(calls[2 * i].name, order[i]);
    EXPECT_EQ(calls[2 * i + 1].entry, abi::kLookupNamedVariable);
    EXPECT_EQ(calls[2 * i + 1].name, order[i]);
    EXPECT_EQ(calls[2 * i + 1].id, calls[2 * i].id);
  }
}

TEST(Configuration, MaxSoundsDecidesHowManySoundsAreRegistered) {
  struct Case {
    const char* config;
    int sounds;
  };
  const Case cases[] = {
      {"MaxSounds=0\n", 0},     {"MaxSounds=250\n", 100}, {"MaxSounds=12345\n", 100},
      {"MaxSounds=abc\n", 0},   {"MaxSounds=-5\n", 0},    {"MaxSounds=\n", 0},
      {"MaxSounds = 7 \n", 7},  {"maxsounds=2\n", 2},     {"Other=1\n", 100},
      {"MaxSounds=0012\n", 12}, {"MaxSounds=99\n", 99},   {"MaxSounds=5x\n", 5},
  };
  for (const Case& c : cases) {
    TempFolder root;
    root.write("Gauges/zeb_xml_sound.ini", std::string("[Config]\n") + c.config);
    LoadedPanel panel;
    EXPECT_EQ(installAndList(panel), defaultNames(c.sounds)) << c.config;
  }
}

TEST(Configuration, WithoutAnIniFileEveryDefaultApplies) {
  TempFolder root;
  LoadedPanel panel;
  EXPECT_EQ(installAndList(panel), defaultNames(100));
}

TEST(Configuration, EmptyOrMissingVariableNamesTakeTheDefaults) {
  TempFolder root;
  root.write("Gauges/zeb_xml_sound.ini",
             "[Config]\nMaxSounds=13\nLvarStop=\n"
             "[LVars]\nLvar12=\nLvar11=eleven\nLvar5=never_read\nLvar99=beyond_count\n");
  LoadedPanel panel;
  Names expected = defaultNames(13);
  expected[1] = "eleven";
  EXPECT_EQ(installAndList(panel), expected);
}

TEST(Configuration, SoundsNamingOneVariableShareIt) {
  TempFolder root;
  root.write("Gauges/zeb_xml_sound.ini",
             "[Config]\nMaxSounds=2\n[LVars]\nLvar00=shared\nLvar01=shared\n");
  LoadedPanel panel;
  EXPECT_EQ(installAndList(panel), (Names{"shared", "zeb_stop_sounds"}));
  EXPECT_EQ(panel.host.calls()[1].id, panel.host.calls()[3].id);
}

TEST(Configuration, TheParameterStringNamesTheIniFile) {
  TempFolder root;
  root.write("Gauges/zeb_xml_sound.ini", "[Config]\nMaxSounds=2\n");
  root.write("Panel/cabin.ini", "[Config]\nMaxSounds=1\nLvarStop=from_cabin\n");
  root.write("Panel/Sub Folder/other.ini", "[Config]\nMaxSounds=0\nLvarStop=from_other\n");

  struct Case {
    const char* parameters;
    Names expected;
  };
  const Case cases[] = {
      {"", defaultNames(2)},
      {"./Panel/cabin.ini", defaultNames(1, "from_cabin")},
      {"Panel\\cabin.ini", defaultNames(1, "from_cabin")},
      {".\\Panel\\Sub Folder\\other.ini", defaultNames(0, "from_other")},
      {"./Panel/missing.ini", defaultNames(100)},
  };
  for (const Case& c : cases) {
    LoadedPanel panel;
    EXPECT_EQ(installAndList(panel, c.parameters), c.expected) << c.parameters;
  }
}

TEST(Configuration, AnIniPathTooLongForItsBufferIsNotRead) {
  TempFolder root;
  // The path buffer holds 135 characters. A longer path cut to fit would
  // name another file, so the module reads none and takes every default.
  const std::string path = "./" + std::string(123, 'p') + "/cabin.ini";
  ASSERT_EQ(path.size(), 135u);
  root.write(path, "[Config]\nMaxSounds=1\n");
  root.write(path + "x", "[Config]\nMaxSounds=1\n");
  {
    LoadedPanel panel;
    EXPECT_EQ(installAndList(panel, path), defaultNames(1)) << "135 characters fit";
  }
  {
    LoadedPanel panel;
    EXPECT_EQ(installAndList(panel, path + "x"), defaultNames(100));
  }
}

TEST(Configuration, IsReadOnlyOncePerLoad) {
  TempFolder root;
  root.write("Gauges/zeb_xml_sound.ini", "[Config]\nMaxSounds=1\n");
  root.write("Panel/other.ini", "[Config]\nMaxSounds=2\n");
  LoadedPanel panel;
  installAndList(panel);

  // Another instance of the gauge, with another parameter string, and the
  // same instance again: nothing is read or registered.
  panel.host.clearCalls();
  installAndList(panel, "./Panel/other.ini");
  installAndList(panel, "");
  EXPECT_TRUE(panel.host.calls().empty());
}

}  // namespace
}  // namespace vorlanex
