// check --panel on a whole panel of real files: XML gauges in folders and in
// cabinets made by gcab, found in the simulator's order and held against the
// INI file's sounds; the same findings on both builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "check.h"
#include "check_report.h"
#include "findings_summary.h"
#include "support/temp_folder.h"
#include "bitmap_bytes.h"
#include "text_encoding.h"
#include "xml_gauge.h"

namespace vorlanex::tool {
namespace {

using Lines = std::vector<std::string>;
using test::TempFolder;

std::string cabinet(const char* name) {
  std::ifstream file(std::string(VORLANEX_TEST_CABINETS) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

constexpr const char* kIni =
    "[Config]\nMaxSounds=4\nErrorFlag=-1\nLvarStop=cabin_quiet\n[LVars]\nLvar00=cabin_chime\n"
    "Lvar01=cabin_fan\nLvar02=cabin_door\nLvar03=cabin_seatbelt\n";

// Cab.cab (chime_switch.xml writes cabin_chim, fan_switch.xml a pan of 20000)
// stands before the folder Cab in the panel's folder, which stands before
// Gauges; Broken.cab is cut short; Sloppy's gauge is no well-formed XML.
void writePanel(const TempFolder& root) {
  root.write("Gauges/t.ini", kIni);
  root.write("Gauges/Vorlanex_sound.gau", "MZ");
  root.write("Aircraft/T/panel/panel.cfg",
             "[Window00]\n"
             "gauge00=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/t.ini\n"
             "gauge01=cab!Chime_Switch, 0,0\n"
             "gauge02=Cab!fan_switch, 0,0\n"
             "gauge03=Cab!extra, 0,0\n"
             "gauge04=Missing!nothing, 0,0\n"
             "gauge05=Broken!b, 0,0\n"
             "gauge06=Stored!fan_switch, 0,0\n"
             "[Window01]\n"
             "visible=0\n"
             "gauge00=Vorlanex_sound!sound, 0,0,1,1, ./Gauges/other.ini\n"
             "gauge01=Sloppy!s, 0,0\n"
             "gauge02=Text!t, 0,0\n"
             "gauge03=Cab!extra, 0,0\n"
             "[Vcockpit01]\n"
             "gauge00=Stored!chime_switch, 0,0\n");
  root.write("Aircraft/T/panel/Cab.cab", cabinet("mszip.cab"));
  root.write("Aircraft/T/panel/Cab/chime_switch.xml", "<Gauge>1 (>L:cabin_chime, number)</Gauge>");
  root.write("Aircraft/T/panel/Cab/extra.xml",
             "<Gauge>\n<Macro Name=\"Quiet\">-1 (&gt;L:cabin_quiet, number)</Macro>\n"
             "<Update>(L:cabin_chime, number) 0 == if{ 0.5 (>L:cabin_door, number) }</Update>\n"
             "<Click>@Quiet 150 (>L:zeb_xml_sound_volume, number) 1 (>L:Cabin_Seatbelt, number)"
             "</Click>\n</Gauge>\n");
  root.write("Gauges/Cab/extra.xml", "<Gauge>1 (>L:cabin_seatbelt, number)</Gauge>");
  root.write("Gauges/Broken.cab", cabinet("damaged.cab"));
  root.write("Gauges/Stored.cab", cabinet("stored.cab"));
  root.write("Gauges/Sloppy/s.xml",
             "<Gauge>\n<Click>(L:a, bool) (L:b, bool) && if{ 7 (>L:cabin_door, number) }</Click>\n"
             "<Click>< 1</Click>\n</Gauge>\n");
  root.write("Gauges/Text/t.xml", std::string("\x01\x02 no XML at all", 16));
}

TEST(PanelCheck, FindsEachGaugeInTheSimulatorsOrderAndReportsEveryFinding) {
  TempFolder root;
  writePanel(root);
  const CheckResult result = runCheck({std::nullopt, "Aircraft/T/panel/panel.cfg", false});
  EXPECT_EQ(result.iniFile, "./Gauges/t.ini");  // the first line of the module's
  Lines problems;
  for (const Problem& p : result.problems) problems.push_back(formatProblem(p));
  const std::string cfg = "Aircraft/T/panel/panel.cfg";
  const std::string extra = "Aircraft/T/panel/Cab/extra.xml";
  const std::string fanPan =
      "writes 2000002 into 'cabin_fan': pan 20000 is beyond -10000 to 10000 (the value is pan * "
      "100 + code); the module holds it at full right (in: (L:fan_on, bool) if{ 2000002 "
      "(>L:cabin_fan, number) } els{ 0 (>L:cabin_fan, number) })";
  EXPECT_EQ(problems, (Lines{
      cfg + ":11: warning: gauge00: the module reads one INI file, the one of the first of its "
            "gauges the simulator loads: this line names './Gauges/other.ini', line 2 names "
            "'./Gauges/t.ini'",
      cfg + ":11: warning: gauge00: [Window01] has visible=0: the module starts only when the "
            "pilot first opens that window, and until then no sound plays",
      cfg + ":6: warning: gauge04: the gauge Missing!nothing is found nowhere: no Missing.gau, "
            "nothing.xml in Missing.cab or in the folder Missing in the panel's folder or in Gauges",
      "Gauges/Broken.cab: warning: the cabinet is damaged: it cannot be read to its end: no gauge "
      "is found in it",
      cfg + ":7: warning: gauge05: the gauge Broken!b is found nowhere: no Broken.gau, b.xml in "
            "Broken.cab or in the folder Broken in the panel's folder or in Gauges",
      "Gauges/Sloppy/s.xml:3: warning: not well-formed XML (expected element name): its text is "
      "scanned for variables as it stands",
      "Gauges/Text/t.xml:1: warning: not well-formed XML (expected <): its text is scanned for "
      "variables as it stands",
      "./Gauges/t.ini:6: warning: Lvar00: no XML gauge of the panel writes 'cabin_chime': sound 00 "
      "can never play from this panel",
      "./Gauges/t.ini:9: warning: Lvar03: no XML gauge of the panel writes 'cabin_seatbelt': sound "
      "03 can never play from this panel",
      "Aircraft/T/panel/Cab.cab:chime_switch.xml:4: warning: Lvar00: 'cabin_chim' is no variable "
      "of the module: did you mean 'cabin_chime'? (in: 1 (>L:cabin_chim, number))",
      "Aircraft/T/panel/Cab.cab:fan_switch.xml:2: warning: Lvar01: " + fanPan,
      extra + ":3: note: Lvar00: waits for 'cabin_chime' to be handed back as 0, but with "
              "ErrorFlag=-1 a missing or unplayable WAV file leaves -1 in it: test for a value "
              "below 1 (in: (L:cabin_chime, number) 0 == if{ 0.5 (>L:cabin_door, number) })",
      extra + ":3: warning: Lvar02: writes 0.5 into 'cabin_door': the module cuts the fraction "
              "off and reads 0 (in: (L:cabin_chime, number) 0 == if{ 0.5 (>L:cabin_door, number) })",
      extra + ":4: warning: LvarStop: writes -1 into 'cabin_quiet': only a number above 0 stops "
              "the sounds; this does nothing (in: -1 (>L:cabin_quiet, number) 150 "
              "(>L:zeb_xml_sound_volume, number) 1 (>L:Cabin_Seatbelt, number))",
      extra + ":4: warning: zeb_xml_sound_volume: writes 150 into 'zeb_xml_sound_volume': the "
              "master volume is percent, 0 to 100; the module holds it to 100 (in: -1 "
              "(>L:cabin_quiet, number) 150 (>L:zeb_xml_sound_volume, number) 1 "
              "(>L:Cabin_Seatbelt, number))",
      extra + ":4: warning: Lvar03: 'Cabin_Seatbelt' is no variable of the module: did you mean "
              "'cabin_seatbelt'? (in: -1 (>L:cabin_quiet, number) 150 "
              "(>L:zeb_xml_sound_volume, number) 1 (>L:Cabin_Seatbelt, number))",
      "Gauges/Stored.cab:fan_switch.xml:2: warning: Lvar01: " + fanPan,
      "Gauges/Sloppy/s.xml:2: warning: Lvar02: writes 7 into 'cabin_door': its last two digits, "
      "7, are no command (0 to 4), so the module does nothing (in: <Click>(L:a, bool) (L:b, bool) "
      "&& if{ 7 (>L:cabin_door, number) }</Click>)",
      "Gauges/Stored.cab:chime_switch.xml:4: warning: Lvar00: 'cabin_chim' is no variable of the "
      "module: did you mean 'cabin_chime'? (in: 1 (>L:cabin_chim, number))",
  }));
  EXPECT_EQ(exitStatusFor(result.problems), 1);
}

TEST(PanelCheck, ReportsShowTheGaugesFoundAndWhoWritesEachVariable) {
  TempFolder root;
  writePanel(root);
  const CheckResult result = runCheck({std::nullopt, "Aircraft/T/panel/panel.cfg", false});
  const nlohmann::json panel = nlohmann::json::parse(checkJson(result))["panel"];
  ASSERT_EQ(panel["gauges"].size(), 12u);
  EXPECT_EQ(panel["gauges"][0]["where"], "Gauges/Vorlanex_sound.gau");
  EXPECT_EQ(panel["gauges"][1]["found"], "cabinet");
  // Named as the files spell them, not as panel.cfg's "cab!Chime_Switch".
  EXPECT_EQ(panel["gauges"][1]["where"], "Aircraft/T/panel/Cab.cab:chime_switch.xml");
  EXPECT_EQ(panel["gauges"][1]["gauge"], "Cab!chime_switch");
  EXPECT_EQ(panel["gauges"][3]["where"], "Aircraft/T/panel/Cab/extra.xml");
  EXPECT_EQ(panel["gauges"][4]["found"], "not found");
  EXPECT_EQ(panel["gauges"][7]["section"], "Window01");
  const nlohmann::json& fan = panel["variables"][1];
  EXPECT_EQ(fan["variable"], "cabin_fan");
  ASSERT_EQ(fan["writes"].size(), 4u);  // two in each copy of fan_switch.xml
  EXPECT_EQ(fan["writes"][0]["constant"], 2000002);
  EXPECT_EQ(fan["writes"][3]["file"], "Gauges/Stored.cab:fan_switch.xml");
  EXPECT_EQ(panel["variables"][0]["reads"][0]["line"], 3);

  const std::string text = checkText(result);
  EXPECT_NE(text.find("     4  gauge02   Window00    Cab!fan_switch                  "
                      "Aircraft/T/panel/Cab.cab:fan_switch.xml\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  stop  cabin_quiet\n        written  Aircraft/T/panel/Cab/extra.xml:4  "),
            std::string::npos);
  EXPECT_NE(text.find("18 warnings, 1 note\n"), std::string::npos);
  // The summary: files of no gauge first, then each gauge by its name, its
  // findings by kind, the most first; then the three files with the most.
  EXPECT_NE(text.find("\nsummary by gauge and file:\n"
                      "  Aircraft/T/panel/panel.cfg: 4 warnings\n"
                      "     2  the gauge ... is found nowhere\n"
                      "     1  the module reads one INI file, the one of the first of its gauges "
                      "the simulator loads\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nmost findings: Aircraft/T/panel/Cab/extra.xml (5), "
                      "Aircraft/T/panel/panel.cfg (4), ./Gauges/t.ini (2)\n\n0 errors"),
            std::string::npos);
}

// The file at `path` rewritten as UTF-16 with its byte-order mark, as Windows
// programs save it (its text is ASCII).
void asUtf16(const TempFolder& root, const std::string& path, bool littleEndian) {
  std::ifstream file(root.path() / path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char c : text) bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
  root.write(path, bytes);
}

TEST(PanelCheck, ReadsUtf16FilesAsTheirUtf8Twins) {
  std::string twins[2];
  for (const bool utf16 : {false, true}) {
    TempFolder root;
    writePanel(root);
    if (utf16) {
      asUtf16(root, "Aircraft/T/panel/panel.cfg", true);
      asUtf16(root, "Aircraft/T/panel/Cab/extra.xml", false);
      root.write("Gauges/Sloppy/s.xml", "\xEF\xBB\xBF<Gauge/>\n<Gauge>");  // UTF-8's mark
    } else {
      root.write("Gauges/Sloppy/s.xml", "<Gauge/>\n<Gauge>");
    }
    twins[utf16] = checkText(runCheck({std::nullopt, "Aircraft/T/panel/panel.cfg", false}));
  }
  EXPECT_NE(twins[0].find("Cab!extra: 4 warnings, 1 note"), std::string::npos) << twins[0];
  EXPECT_EQ(twins[1], twins[0]);
}

TEST(PanelCheck, AFileThatCannotBeDecodedIsToldSo) {
  TempFolder root;
  writePanel(root);
  root.write("Aircraft/T/panel/Cab/extra.xml", std::string("\xFF\xFE<\0G", 5));
  Lines problems;
  for (const Problem& p : runCheck({std::nullopt, "Aircraft/T/panel/panel.cfg", false}).problems) {
    problems.push_back(formatProblem(p));
  }
  const std::string undecoded =
      "Aircraft/T/panel/Cab/extra.xml: warning: cannot be decoded (UTF-16 LE text of 5 bytes, an "
      "odd number, cut short): the gauge does not run";
  EXPECT_EQ(std::count(problems.begin(), problems.end(), undecoded), 1);
  root.write("Aircraft/T/panel/panel.cfg", std::string("\xFE\xFF\xD8\x00\x00A", 6));
  const CheckResult result = runCheck({std::nullopt, "Aircraft/T/panel/panel.cfg", false});
  EXPECT_FALSE(result.panel);
  EXPECT_EQ(formatProblem(result.problems.at(0)),
            "Aircraft/T/panel/panel.cfg: error: cannot read the panel configuration: UTF-16 BE "
            "text with an unpaired surrogate at byte 2");
}

TEST(TextEncoding, DecodesWhatWindowsWrites) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"\xEF\xBB\xBFx", "x"},
      {std::string("\xFF\xFEx\0\x3D\xD8\x00\xDE\xE9\0", 10), "x\xF0\x9F\x98\x80\xC3\xA9"},
      {std::string("\xFE\xFF\0x\x20\xAC", 6), "x\xE2\x82\xAC"},
  };
  for (const auto& [bytes, text] : cases) {
    const DecodedText decoded = decodeText(bytes);
    EXPECT_EQ(decoded.text, text);
    EXPECT_EQ(decoded.problem, "");
  }
  EXPECT_EQ(decodeText(std::string("\xFF\xFE\x00\xDC", 4)).problem,
            "UTF-16 LE text with an unpaired surrogate at byte 2");
}

TEST(FindingsSummary, AFindingsKindIsItsMessageWithoutParticulars) {
  const std::pair<const char*, const char*> cases[] = {
      {"unknown word 'nearest' (an XML escape written twice?) (in: 1 nearest)", "unknown word ..."},
      {"popping an empty stack: 0 is read", "popping an empty stack"},
      {"(>A:EXIT OPEN:0, percent): gauges cannot write simulator variables; the value is dropped",
       "gauges cannot write simulator variables"},
      {"C: variables are not simulated (reads give 0): 3 uses in this gauge, the first here",
       "C: variables are not simulated"},
      {"unknown unit 'furlongs' in (A:SIM ON GROUND, furlongs): the number is read as held",
       "unknown unit ... in ..."},
      {"g12 jumps to the label :12, which is not there: the jump does nothing",
       "... jumps to the label ... which is not there"},
      {"Cabin!door writes 150001 into 'cabin_door' in every frame at rest: a one-shot",
       "... writes ... into ... in every frame at rest"},
  };
  for (const auto& [message, kind] : cases) EXPECT_EQ(findingKind(message), kind) << message;
}

// A note alone leaves the panel clean.
TEST(PanelCheck, ANoteAloneExitsClean) {
  TempFolder root;
  root.write("Gauges/t.ini", "[Config]\nMaxSounds=1\nErrorFlag=-1\n[LVars]\nLvar00=chime\n");
  root.write("Gauges/Vorlanex_sound.gau", "MZ");
  root.write("Gauges/G/g.xml", "<Gauge><Click>1 (>L:chime, number)</Click><Value>(L:chime, "
                               "number) ! (>L:lit, bool)</Value></Gauge>");
  root.write("panel.cfg", "[Window00]\ngauge00=Vorlanex_sound!sound,0,0,1,1,./Gauges/t.ini\n"
                          "gauge01=G!g,0,0\n");
  const CheckResult result = runCheck({std::nullopt, "panel.cfg", false});
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].severity, Severity::kNote);
  EXPECT_EQ(exitStatusFor(result.problems), 0);
}

// Reads close to a variable of the module are typos as writes are; a read of
// a name close to none is the gauge's own variable.
TEST(PanelCheck, ReadsOfNamesCloseToTheModulesVariablesAreReported) {
  TempFolder root;
  root.write("Gauges/t.ini", "[Config]\nMaxSounds=1\n[LVars]\nLvar00=cabin_chime\n");
  root.write("Gauges/Vorlanex_sound.gau", "MZ");
  root.write("Gauges/G/g.xml",
             "<Gauge><Click>1 (>L:cabin_chime, number)</Click>\n<Value>(L:cabin_chmie, number) "
             "(L:zeb_sound_indicater, bool) (L:Zeb_Volume_Played, number) (L:cabin_lights, bool) "
             "(L:zeb_xml_sound_volume, number)</Value></Gauge>");
  root.write("panel.cfg", "[Window00]\ngauge00=Vorlanex_sound!sound,0,0,1,1,./Gauges/t.ini\n"
                          "gauge01=G!g,0,0\n");
  Lines found;
  for (const Problem& p : runCheck({std::nullopt, "panel.cfg", false}).problems) {
    if (p.file != "Gauges/G/g.xml") continue;
    found.push_back(p.key + ": " + p.message.substr(0, p.message.find(" (in:")));
  }
  EXPECT_EQ(found, (Lines{
      "Lvar00: 'cabin_chmie' is no variable of the module: did you mean 'cabin_chime'?",
      "zeb_sound_indicator: 'zeb_sound_indicater' is no variable of the module: did you mean "
      "'zeb_sound_indicator'?",
      "zeb_volume_played: 'Zeb_Volume_Played' is no variable of the module: did you mean "
      "'zeb_volume_played'?",
  }));
}

// ImageSizes other than the bitmap's are told at their <Image>; sizes that
// match, and a bitmap that is not there, pass without a word.
TEST(PanelCheck, ImageSizesOtherThanTheBitmapsAreToldAtTheImage) {
  TempFolder root;
  root.write("Gauges/t.ini", "[Config]\nMaxSounds=1\n[LVars]\nLvar00=chime\n");
  root.write("Gauges/Vorlanex_sound.gau", "MZ");
  root.write("Gauges/G/bg.bmp", bitmapbytes::bitmap(40, 20, false, [](int, int) { return 0x808080u; }));
  root.write("Gauges/G/g.xml", "<Gauge><Image Name=\"bg.bmp\" ImageSizes=\"40,20\"/>\n"
                               "<Element><Image Name=\"bg.bmp\" ImageSizes=\"40,30,40,30\"/></Element>\n"
                               "<Element><Image Name=\"none.bmp\" ImageSizes=\"1,1\"/></Element></Gauge>");
  root.write("panel.cfg", "[Window00]\ngauge00=Vorlanex_sound!sound,0,0,1,1,./Gauges/t.ini\n"
                          "gauge01=G!g,0,0\n");
  Lines found;
  for (const Problem& p : runCheck({std::nullopt, "panel.cfg", false}).problems) {
    if (p.file == "Gauges/G/g.xml") found.push_back(std::to_string(p.line) + ": " + p.message);
  }
  EXPECT_EQ(found, (Lines{"2: ImageSizes 40,30 but bg.bmp is 40,20: drawn at its real size"}));
}

// The strict reading reports what the lenient one passes; what working
// panels rely on passes both.
TEST(PanelCheck, XmlThatDoesNotParseStrictlyIsReportedAtItsLine) {
  struct Case {
    const char* text;
    const char* error;  // nullptr: none
    int line;
    bool scannedAsText;
  } cases[] = {
      {"<G>\n<Mouse>\n<Click>1 (>L:a, number)</Click>\n</Mous>\n</G>",
       "expected </Mouse>, found </Mous>", 4, false},
      {"<G a=\"x>y\">\n<I/><!-- <C> --><![CDATA[<D>]]><?p <E>?>1 (>L:a, number)\n</g>",
       "expected </G>, found </g>", 3, false},
      {"<G><Mouse>1 (>L:a, number)\n</G>", "expected </Mouse>, found </G>", 2, true},
      {"<G><Click>(L:b, bool) && if{ 1 (&gt;L:a, number) } 2 > (>L:a, number)</Click></G>",
       nullptr, 0, false},
  };
  for (const Case& c : cases) {
    const XmlGaugeScan scan = scanXmlGauge(c.text);
    EXPECT_EQ(scan.parseError.value_or("none"), c.error ? c.error : "none") << c.text;
    EXPECT_EQ(scan.parseErrorLine, c.line) << c.text;
    EXPECT_EQ(scan.scannedAsText, c.scannedAsText) << c.text;
    ASSERT_FALSE(scan.uses.empty()) << c.text;  // the scan goes on in every case
    EXPECT_EQ(scan.uses.back().use.name, "a") << c.text;
  }
}

}  // namespace
}  // namespace vorlanex::tool
