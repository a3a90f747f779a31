// check on INI files with each problem a panel author should hear about: the
// exact messages, with their keys and lines, and the exit status they give.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "check.h"
#include "check_report.h"
#include "panel_cfg.h"
#include "commands/command_value.h"
#include "support/sine_wave.h"
#include "support/sound_panel.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"
#include "wave_bytes.h"

namespace vorlanex::tool {
namespace {

using Lines = std::vector<std::string>;
using test::TempFolder;

Lines problemLines(const Problems& problems) {
  Lines lines;
  for (const Problem& p : problems) lines.push_back(formatProblem(p));
  return lines;
}

CheckResult checkIni(const std::string& text, const std::string& panel = "") {
  TempFolder root;
  root.write("Gauges/t.ini", text);
  if (!panel.empty()) root.write("panel.cfg", panel);
  if (!panel.empty()) root.write("Gauges/Vorlanex_sound.gau", "MZ");
  if (!panel.empty()) root.write("Gauges/Other.gau", "MZ");
  return runCheck({"./Gauges/t.ini", panel.empty() ? "" : "panel.cfg", false});
}

TEST(Check, ReportsEachProblemAtItsKeyAndLine) {
  struct Case {
    std::string ini;
    Lines expected;
  } cases[] = {
      {"[Config]\nMaxSounds=2\n[Sounds]\nSound00=a.wav,80\n[LVars]\nLvar00=a\n", {}},
      {"[Config]\nMaxSounds=abc\n",
       {"./Gauges/t.ini:2: error: MaxSounds: MaxSounds 'abc' is not a number: the module "
        "configures no sounds"}},
      {"[Config]\nMaxSounds=\n",
       {"./Gauges/t.ini:2: error: MaxSounds: MaxSounds is empty: the module configures no sounds"}},
      {"[Config]\nMaxSounds=-5\n",
       {"./Gauges/t.ini:2: error: MaxSounds: MaxSounds -5 is negative: the module configures no "
        "sounds"}},
      {"[Config]\nMaxSounds=250\n",
       {"./Gauges/t.ini:2: warning: MaxSounds: MaxSounds 250 is over 100: the module configures "
        "100 sounds"}},
      {"[Config]\nMaxSounds=12345\n",
       {"./Gauges/t.ini:2: warning: MaxSounds: MaxSounds '12345' is longer than 4 characters: "
        "the module reads only '1234'",
        "./Gauges/t.ini:2: warning: MaxSounds: MaxSounds 1234 is over 100: the module configures "
        "100 sounds"}},
      {"[Config]\nMaxSounds=2 ; two\n",
       {"./Gauges/t.ini:2: warning: MaxSounds: ';' starts no comment at the end of a line: the "
        "value is '2 ; two'",
        "./Gauges/t.ini:2: warning: MaxSounds: MaxSounds '2 ; two' is longer than 4 characters: "
        "the module reads only '2 ; '"}},
      {"[Config]\nMaxSounds=2\nErrorFlag=1\nColour=red\n",
       {"./Gauges/t.ini:3: warning: ErrorFlag: ErrorFlag '1' means 0: only -1 makes a missing "
        "WAV file write -1 into its sound's variable",
        "./Gauges/t.ini:4: warning: Colour: unknown key in [Config], never read: the module reads "
        "MaxSounds, ErrorFlag and LvarStop"}},
      {"[Config]\nMaxSounds=6\n[Sounds]\nSound5=a.wav\nSound06=b.wav\nSoundA=c.wav\n",
       {"./Gauges/t.ini:4: warning: Sound5: never read: the keys have two digits, Sound00 to "
        "Sound99 (Sound05)",
        "./Gauges/t.ini:5: warning: Sound06: never read: MaxSounds gives 6 sounds, 00 to 05",
        "./Gauges/t.ini:6: warning: SoundA: unknown key in [Sounds], never read: its keys are "
        "Sound00 to Sound99"}},
      {"[Config]\nMaxSounds=0\n[LVars]\nLvar00=a\n",
       {"./Gauges/t.ini:4: warning: Lvar00: never read: MaxSounds gives no sounds"}},
      {"[Config]\nMaxSounds=3\n[Sounds]\nSound00=a.wav,150\nSound01=,80\nSound02=b.wav ,\n",
       {"./Gauges/t.ini:4: warning: Sound00: volume 150 % is outside 0 to 100: the sound plays "
        "at full volume (100 %)",
        "./Gauges/t.ini:5: error: Sound01: no WAV path before the comma: the sound's file can "
        "never be found",
        "./Gauges/t.ini:6: warning: Sound02: the WAV path 'b.wav ' ends in blanks or dots, which "
        "Windows drops: the module opens 'b.wav'",
        "./Gauges/t.ini:6: warning: Sound02: nothing after the comma reads as a number: the "
        "volume is 0 %, silent"}},
      {"[Config]\nMaxSounds=1\n[Sounds]\nSound00=a.wav,-20\n",
       {"./Gauges/t.ini:4: warning: Sound00: volume -20 % is outside 0 to 100: the sound plays "
        "silent (0 %)"}},
      {"[Config]\nMaxSounds=1\n[LVars]\nLvar00=" + std::string(130, 'v') + "\n",
       {"./Gauges/t.ini:4: error: Lvar00: the value is 130 characters long: the module keeps "
        "only the first 127"}},
      {"[Config]\nMaxSounds=2\n[Sounds]\nSound01=a.wav\nsound01=b.wav\n[sounds]\nSound00=c.wav\n"
       "[Extra]\nk=v\n",
       {"./Gauges/t.ini:5: warning: sound01: repeats line 4: only the first is read",
        "./Gauges/t.ini:6: warning: [sounds]: section [sounds] repeats line 3: Windows reads only "
        "the first, so nothing in this one is read",
        "./Gauges/t.ini:8: warning: [Extra]: section [Extra] is never read: the module reads "
        "[Config], [Sounds] and [LVars]"}},
      {"[Config]\nMaxSounds=1\n[LVars]\nLvar00\nLvar00=a\n",
       {"./Gauges/t.ini:4: warning: Lvar00: the line has no '=': the module takes the default",
        "./Gauges/t.ini:5: warning: Lvar00: repeats line 4: only the first is read"}},
      {"[Config]\r\nMaxSounds=3\r\nLvarStop=fan\r\n[LVars]\r\nLvar00=fan\r\nLvar01=horn\r\n"
       "Lvar02=horn\r\n",
       {"./Gauges/t.ini:7: warning: Lvar02: sounds 01 and 02 share the variable 'horn': one value "
        "drives both, and both write their state into it",
        "./Gauges/t.ini:3: error: LvarStop: the stop-all variable 'fan' is also sound 00's: "
        "playing that sound stops every sound"}},
      {"[Config]\nMaxSounds=2\nLvarStop=zeb_xml_id_01\n",
       {"./Gauges/t.ini:3: error: LvarStop: the stop-all variable 'zeb_xml_id_01' is also sound "
        "01's: playing that sound stops every sound"}},
      {"[Config]\nMaxSounds=2\n[LVars]\nLvar00=zeb_xml_id_01\n",
       {"./Gauges/t.ini: warning: Lvar01 (default): sounds 00 and 01 share the variable "
        "'zeb_xml_id_01': one value drives both, and both write their state into it"}},
      {"[Config]x=1\nMaxSounds=1\n",
       {"./Gauges/t.ini:1: warning: [Config]: the text after ']' is ignored: 'x=1' defines "
        "nothing"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(problemLines(checkIni(c.ini).problems), c.expected) << c.ini;
  }
}

// Windows reads these as our kernel does; Wine departs from it, so the table
// the module makes under Wine differs.
TEST(Check, ReportsLinesWindowsNeverReachesBeforeTheFirstSection) {
  if (test::runsUnderWine()) GTEST_SKIP() << "Wine reads lines before a section differently";
  EXPECT_EQ(problemLines(checkIni("MaxSounds=1\n[Config]\n").problems),
            Lines{"./Gauges/t.ini:1: warning: MaxSounds: this line stands before the first "
                  "section and is never read"});
  EXPECT_EQ(problemLines(checkIni("\xEF\xBB\xBF[Config]\nMaxSounds=1\n").problems),
            (Lines{"./Gauges/t.ini:1: error: the file starts with a UTF-8 byte-order mark, which "
                   "Windows does not understand: line 1 is not read as written",
                   "./Gauges/t.ini:2: warning: MaxSounds: this line stands before the first "
                   "section and is never read"}));
}

TEST(Check, TheTableIsTheModulesOwn) {
  const CheckResult result = checkIni(
      "[Config]\nMaxSounds=2\nErrorFlag=-1\n[Sounds]\nSound01=x.wav, 80\n[LVars]\nLvar00=a\n");
  const SoundTable& table = result.module.table;
  ASSERT_EQ(table.soundCount, 2);
  EXPECT_EQ(table.errorValue, -1);
  EXPECT_STREQ(table.slots[0].varName, "a");
  EXPECT_STREQ(table.slots[0].wavePath, "./Sound/zeb/zeb_xml_00.wav");
  EXPECT_STREQ(table.slots[1].wavePath, "x.wav");
  EXPECT_EQ(storedVolumePercent(table.slots[1].volume), 80);
  EXPECT_STREQ(table.stopAll.varName, "zeb_stop_sounds");
}

// Windows opens "door.wav " as "door.wav": so do the module and check on
// both builds.
TEST(Check, FindsAWavPathThatEndsInABlankAsWindowsDoes) {
  TempFolder root;
  root.write("Gauges/t.ini", "[Config]\nMaxSounds=1\n[Sounds]\nSound00=./Sound/door.wav ,80\n");
  root.write("Sound/door.wav", test::sineWave({1, 22050, 16, 0.1}));
  const CheckResult result = runCheck({"./Gauges/t.ini", "", true});
  ASSERT_EQ(result.soundFiles.readings.size(), 1u);
  EXPECT_EQ(result.soundFiles.readings[0].outcome, SoundFileReading::Outcome::kRead);
}

// check prints each sound's volume as the module reports it once it plays.
TEST(Check, PrintsTheVolumeTheModuleReportsWhenTheSoundPlays) {
  for (const char* percent : {"12.5", "80.4", "99.99", "0.01"}) {
    test::SoundPanel panel;
    panel.writeIni(std::string("[Config]\nMaxSounds=1\n[Sounds]\nSound00=") +
                   "./Sound/zeb/zeb_xml_00.wav," + percent + "\n");
    panel.writeSound(0, {1, 22050, 16, 0.25});
    const std::string text = checkText(runCheck({"./Gauges/zeb_xml_sound.ini", "", false}));
    panel.install();
    panel.set(test::soundVariable(0), 1);
    panel.frames(1);
    char printed[64];
    std::snprintf(printed, sizeof printed, "%-30s  %5d%%", "zeb_xml_id_00",
                  static_cast<int>(panel.get("zeb_volume_played")));
    EXPECT_NE(text.find(printed), std::string::npos) << percent << " %: " << text;
  }
}

TEST(Check, AMissingOrUnreachableFileIsReportedAndExitStatusFollowsSeverity) {
  TempFolder root;
  const CheckResult missing = runCheck({"./Gauges/none.ini", "", false});
  EXPECT_EQ(problemLines(missing.problems),
            Lines{"./Gauges/none.ini: error: cannot read the file: the module takes every "
                  "default (100 sounds, ./Sound/zeb/zeb_xml_NN.wav driven by zeb_xml_id_NN)"});
  EXPECT_EQ(exitStatusFor(missing.problems), 2);
  const CheckResult noFolder = runCheck({"cabin.ini", "", false});
  EXPECT_EQ(problemLines(noFolder.problems),
            Lines{"cabin.ini: warning: the INI path 'cabin.ini' has no folder: Windows looks for "
                  "it in the Windows directory, not in the simulator's folder (write "
                  ".\\Gauges\\cabin.ini); not checked"});
  EXPECT_EQ(exitStatusFor(noFolder.problems), 1);
  EXPECT_EQ(exitStatusFor({}), 0);
  const CheckResult tooLong = runCheck({"./" + std::string(140, 'x') + ".ini", "", false});
  ASSERT_EQ(tooLong.problems.size(), 1u);
  EXPECT_EQ(tooLong.problems[0].severity, Severity::kError);
}

TEST(Check, AProblemIsOneLineWhateverItsMessageQuotes) {
  EXPECT_EQ(formatProblem({Severity::kWarning, "g.xml", 3, "", "expected </A>, found </B\r\n>"}),
            "g.xml:3: warning: expected </A>, found </B  >");
}

TEST(Check, OpensEachWavFileAsTheModuleWouldAndNamesItsKey) {
  TempFolder root;
  root.write("Gauges/t.ini",
             "[Config]\nMaxSounds=5\nErrorFlag=-1\n[Sounds]\nSound00=./Sound/fine.wav\n"
             "Sound01=./Sound/text.wav\nSound02=./Sound/twelve.wav\nSound04=./Sound/cut.wav\n");
  root.write("Sound/fine.wav", test::sineWave({1, 22050, 16, 0.1}));
  root.write("Sound/text.wav", "not a sound at all");
  root.write("Sound/twelve.wav", wavebytes::wave(wavebytes::formatFields(1, 1, 22050, 12),
                                                 wavebytes::samplePattern(300)));
  root.write("Sound/cut.wav", test::sineWave({1, 22050, 16, 0.1}).substr(0, 44 + 1001));
  const CheckResult result = runCheck({"./Gauges/t.ini", ""});
  EXPECT_EQ(problemLines(result.problems),
            (Lines{"./Gauges/t.ini:6: error: Sound01: the module cannot read './Sound/text.wav': "
                   "not a RIFF file",
                   "./Gauges/t.ini:7: error: Sound02: the sound device refuses './Sound/twelve.wav' "
                   "(format tag 1, 1 channel, 22050 Hz, 12 bits): 12-bit samples: DirectSound "
                   "plays 8, 16, 24 or 32 bits; asked to play, the sound writes -1 into "
                   "zeb_xml_id_02",
                   "./Gauges/t.ini: error: Sound03: WAV file './Sound/zeb/zeb_xml_03.wav' is "
                   "missing: asked to play, the sound writes -1 into zeb_xml_id_03",
                   "./Gauges/t.ini:8: warning: Sound04: './Sound/cut.wav' ends inside its "
                   "samples: it declares 4410 bytes and holds 1000; the sound plays only those"}));
  EXPECT_EQ(exitStatusFor(result.problems), 2);
}

// What check shows of each sound's file: the module's reader at work, so the
// same text on both builds (the Windows one reads through WINMM's mmio).
TEST(Check, ShowsWhatTheModulesReaderMakesOfEachFile) {
  using namespace wavebytes;
  const std::string pcm16 = formatFields(1, 1, 22050, 16);
  const std::string extensible = formatFields(0xFFFE, 2, 48000, 16) + u16(22) + u16(16) +
                                 u32(3) + std::string(16, '\x01');
  struct Case {
    std::string bytes;
    std::string shown;
  } cases[] = {
      {test::sineWave({1, 22050, 16, 0.1}),
       "format tag 1, 1 channel, 22050 Hz, 16 bits, block align 2, 4410 data bytes"},
      {wave(formatFields(3, 2, 44100, 32), samplePattern(800)),
       "format tag 3, 2 channels, 44100 Hz, 32 bits, block align 8, 800 data bytes"},
      {wave(formatFields(1, 1, 11025, 8), samplePattern(301)),
       "format tag 1, 1 channel, 11025 Hz, 8 bits, block align 1, 301 data bytes"},
      {wave(extensible, samplePattern(64)),
       "format tag 65534, 2 channels, 48000 Hz, 16 bits, block align 4, 64 data bytes"},
      {riff("WAVE", chunk("LIST", "INFOxxxx") + chunk("data", samplePattern(40)) +
                        chunk("fmt ", pcm16)),
       "format tag 1, 1 channel, 22050 Hz, 16 bits, block align 2, 40 data bytes"},
      {"not a sound at all", "not readable: not a RIFF file"},
      {riff("AVI ", chunk("fmt ", pcm16)), "not readable: a RIFF file, but not WAVE"},
      {riff("WAVE", chunk("data", samplePattern(40))), "not readable: no \"fmt \" chunk"},
      {riff("WAVE", chunk("fmt ", pcm16.substr(0, 12)) + chunk("data", samplePattern(40))),
       "not readable: \"fmt \" chunk smaller than 16 bytes"},
      {riff("WAVE", chunk("fmt ", pcm16)), "not readable: no \"data\" chunk"},
  };
  for (const Case& c : cases) {
    TempFolder root;
    root.write("Gauges/t.ini", "[Config]\nMaxSounds=2\n[Sounds]\nSound00=./Sound/a.wav\n");
    root.write("Sound/a.wav", c.bytes);
    const CheckResult result = runCheck({"./Gauges/t.ini", ""});
    ASSERT_EQ(result.soundFiles.readings.size(), 2u);
    EXPECT_EQ(describeReading(result.soundFiles.readings[0]), c.shown);
    EXPECT_EQ(describeReading(result.soundFiles.readings[1]), "missing");
  }
}

TEST(Check, ReportsShowEachFileBeneathItsSound) {
  TempFolder root;
  root.write("Gauges/t.ini",
             "[Config]\nMaxSounds=3\n[Sounds]\nSound00=./Sound/a.wav,80\nSound01=./Sound/b.wav\n"
             "[LVars]\nLvar00=cabin_a\n");
  root.write("Sound/a.wav", test::sineWave({2, 44100, 16, 0.01}));
  root.write("Sound/b.wav", "RIFF");
  const CheckResult result = runCheck({"./Gauges/t.ini", ""});
  const std::string text = checkText(result);
  EXPECT_NE(text.find("slot  variable                        volume  WAV file\n"
                      "  00  cabin_a                            80%  ./Sound/a.wav\n"
                      "      format tag 1, 2 channels, 44100 Hz, 16 bits, block align 4, 1764 data "
                      "bytes\n"
                      "  01  zeb_xml_id_01                     100%  ./Sound/b.wav\n"
                      "      not readable: not a RIFF file\n"
                      "  02  zeb_xml_id_02                     100%  ./Sound/zeb/zeb_xml_02.wav\n"
                      "      missing\n"),
            std::string::npos)
      << text;

  const nlohmann::json slots = nlohmann::json::parse(checkJson(result))["slots"];
  ASSERT_EQ(slots.size(), 3u);
  EXPECT_EQ(slots[0]["wavFile"], (nlohmann::json{{"state", "read"},
                                                 {"formatTag", 1},
                                                 {"channels", 2},
                                                 {"samplesPerSecond", 44100},
                                                 {"bitsPerSample", 16},
                                                 {"blockAlign", 4},
                                                 {"dataBytes", 1764}}));
  EXPECT_EQ(slots[1]["wavFile"],
            (nlohmann::json{{"state", "unreadable"}, {"reason", "not a RIFF file"}}));
  EXPECT_EQ(slots[2]["wavFile"], (nlohmann::json{{"state", "missing"}}));
}

// Without the files read (as the line checks above ask) the table shows none.
TEST(Check, ReportsWithoutFileReadingsShowOnlyTheTable) {
  const CheckResult result = checkIni("[Config]\nMaxSounds=1\n");
  EXPECT_TRUE(result.soundFiles.readings.empty());
  EXPECT_EQ(checkJson(result).find("wavFile"), std::string::npos);
  EXPECT_NE(checkText(result).find("zeb_xml_00.wav\n\n0 errors"), std::string::npos)
      << checkText(result);
}

TEST(PanelConfig, FindsTheModulesGaugeLinesAndTheirParameters) {
  const std::vector<GaugeLine> gauges = findModuleGauges(
      "[Window00]\r\n"
      "gauge00=Other!thing, 0,0\r\n"
      "//gauge01=Vorlanex_sound!sound, 0,0,1,1, old.ini\r\n"
      "gauge02=VORLANEX_SOUND!Sound, 0,0,1,1, ./Gauges/a.ini\r\n"
      "gauge03=Vorlanex_sound!sound, 10,20\r\n"
      "gauge04=Vorlanex_sound!sound,1,2, .\\Gauges\\b.ini\r\n");
  ASSERT_EQ(gauges.size(), 3u);
  EXPECT_EQ(gauges[0].line, 4);
  EXPECT_EQ(gauges[0].key, "gauge02");
  EXPECT_EQ(gauges[0].gauge, "Sound");
  EXPECT_EQ(gauges[0].parameters, "./Gauges/a.ini");
  EXPECT_EQ(gauges[1].parameters, "");
  EXPECT_EQ(gauges[2].parameters, ".\\Gauges\\b.ini");
}

// What the gauge library needs of the windows and gauge lines to run them.
TEST(PanelConfig, ReadsWindowsAndWhereEachGaugeStands) {
  const PanelLayout layout = readPanelLayout(
      "[Window Titles]\nWindow00=Main Panel\n"
      "[Window00]\nfile=main.bmp\nsize_mm=1024,768\nident=MAIN_PANEL\n"
      "gauge00=Cabin!chime_button, 10,20,40,30\ngauge01=Cabin!light, 5,6\n"
      "[Window01]\nfile=overhead.bmp\nsize=400\nvisible=0\nident=10101\n"
      "gauge00=Lone, 1,2,3\n");
  ASSERT_EQ(layout.windows.size(), 2u);
  const PanelWindow& main = layout.windows[0];
  EXPECT_EQ(std::tie(main.title, main.ident, main.width, main.height, main.hidden),
            std::make_tuple("Main Panel", "MAIN_PANEL", 1024.0, 768.0, false));
  const PanelWindow& overhead = layout.windows[1];
  EXPECT_EQ(std::tie(overhead.title, overhead.ident, overhead.width, overhead.height, overhead.hidden),
            std::make_tuple("overhead.bmp", "10101", 400.0, 0.0, true));
  ASSERT_EQ(layout.gauges.size(), 3u);
  const auto place = [](const GaugeLine& g) { return std::make_tuple(g.x, g.y, g.width, g.height); };
  EXPECT_EQ(place(layout.gauges[0]), std::make_tuple(10.0, 20.0, 40.0, 30.0));
  EXPECT_EQ(place(layout.gauges[1]), std::make_tuple(5.0, 6.0, 0.0, 0.0));
  EXPECT_EQ(place(layout.gauges[2]), std::make_tuple(1.0, 2.0, 3.0, 0.0));
}

TEST(PanelConfig, WarnsOfAnIniFileWithoutAFolderAndOfDisagreeingGauges) {
  const std::string longIni = "./Gauges/" + std::string(140, 'x') + ".ini";
  struct Case {
    std::string panel;
    Lines expected;
  } cases[] = {
      {"[Window00]\ngauge00=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/t.ini\n", {}},
      {"[Window00]\ngauge00=Vorlanex_sound!sound, 0,0,1,1, " + longIni + "\n",
       {"panel.cfg:2: error: gauge00: the INI path is 153 characters long: the module reads no "
        "INI file for a path over 135, and every default applies"}},
      {"[Window00]\ngauge00=Vorlanex_sound!sound, 0,0,1,1, cabin.ini\n",
       {"panel.cfg:2: warning: gauge00: the INI path 'cabin.ini' has no folder: Windows looks "
        "for it in the Windows directory, not in the simulator's folder (write "
        ".\\Gauges\\cabin.ini)"}},
      {"[Window00]\ngauge00=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/t.ini\n"
       "[Window01]\ngauge00=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/u.ini\n",
       {"panel.cfg:4: warning: gauge00: the module reads one INI file, the one of the first of "
        "its gauges the simulator loads: this line names './Gauges/u.ini', line 2 names "
        "'./Gauges/t.ini'"}},
      {"[Window00]\ngauge00=Vorlanex_sound!beep, 0,0\n",
       {"panel.cfg:2: error: gauge00: the module has one gauge, 'sound'; it has none named "
        "'beep'"}},
      {"[Window00]\ngauge00=Other!thing, 0,0\n",
       {"panel.cfg: warning: no gauge line loads Vorlanex_sound!sound: the panel plays none of "
        "these sounds"}},
  };
  for (const Case& c : cases) {
    const Problems problems = checkIni("[Config]\nMaxSounds=0\n", c.panel).problems;
    EXPECT_EQ(problemLines(problems), c.expected) << c.panel;
  }
}

}  // namespace
}  // namespace vorlanex::tool
