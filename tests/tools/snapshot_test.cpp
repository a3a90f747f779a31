// Snapshots of small gauges written for the test, probed pixel by pixel:
// a switch's cases, a needle's tip, a drum through its mask, a readout, a
// hidden element, black left undrawn and a needle slowed by its Delay.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "exit_status.h"
#include "snapshot_command.h"
#include "support/temp_folder.h"
#include "bitmap_bytes.h"
#include "whole_file.h"

namespace vorlanex::tool {
namespace {

using bitmapbytes::Rgb;
using bitmapbytes::bitmap;

std::function<Rgb(int, int)> plain(Rgb c) { return [c](int, int) { return c; }; }

constexpr Rgb kWhite = 0xFFFFFF, kGrey = 0x808080, kRed = 0xFF0000, kGreen = 0x00FF00, kMagenta = 0xFF00FF;
constexpr Rgb kNearBlack = 0x010101;

// The drum's cell k (rows 160−16k … 175−16k) in a colour of its own.
Rgb cellColor(int k) { return 0x0000FF | static_cast<Rgb>((20 + 20 * (k % 10)) << 16); }

const char* const kPanel = R"([Window00]
file=window.bmp
size_mm=700,250
gauge00=test!switch, 0,0
gauge01=test!needle, 100,0
gauge02=test!drum, 0,100
gauge03=test!readout, 0,150
gauge04=test!needle_degrees, 300,0
gauge05=test!needle_radians, 500,0
)";

const char* const kSwitch = R"(<Gauge Name="switch"><Image Name="switch_bg.bmp"/>
<Element><Position X="10" Y="5"/><Select><Value>(L:T,number)</Value>
<Case Value="0"><Image Name="off.bmp"/></Case><Case Value="1"><Image Name="on.bmp"/></Case></Select></Element>
</Gauge>)";

const char* const kNeedle = R"(<Gauge Name="needle"><Image Name="needle_bg.bmp"/>
<Element><Position X="100" Y="100"/><Image Name="needle.bmp"><Axis X="0" Y="3"/></Image>
<Rotate><Value Minimum="0" Maximum="100">(L:V,number)</Value><Nonlinearity>
<Item Value="0" X="100" Y="10"/><Item Value="50" X="190" Y="100"/><Item Value="100" X="100" Y="190"/>
</Nonlinearity></Rotate></Element></Gauge>)";

// The same needle turned by Degrees items, and by its Value in radians
// with no table, drawn pointing South.
const char* const kNeedleDegrees = R"(<Gauge Name="needle_degrees"><Image Name="needle_bg.bmp"/>
<Element><Position X="100" Y="100"/><Image Name="needle.bmp"><Axis X="0" Y="3"/></Image>
<Rotate><Value>(L:V,number)</Value><Nonlinearity>
<Item Value="0" Degrees="-90"/><Item Value="100" Degrees="90"/></Nonlinearity></Rotate></Element></Gauge>)";

const char* const kNeedleRadians = R"(<Gauge Name="needle_radians"><Image Name="needle_bg.bmp"/>
<Element><Position X="100" Y="100"/><Image Name="needle_south.bmp" PointsTo="South"><Axis X="3" Y="0"/></Image>
<Rotate><Value>(L:V,number) 100 / pi * pi 2 / -</Value></Rotate></Element></Gauge>)";

const char* const kDrum = R"(<Gauge Name="drum"><Image Name="drum_bg.bmp"/>
<Element><Position X="40" Y="12"/><MaskImage Name="win.bmp"><Axis X="0" Y="0"/></MaskImage>
<Image Name="strip.bmp"><Axis X="0" Y="160"/></Image>
<Shift><Value>(L:D,number)</Value><Nonlinearity><Item Value="0" X="0" Y="0"/><Item Value="10" X="0" Y="160"/>
</Nonlinearity></Shift></Element></Gauge>)";

const char* const kReadout = R"(<Gauge Name="readout"><Image Name="readout_bg.bmp"/>
<Element><Position X="10" Y="20"/><Text X="60" Y="16" Length="4" Font="Courier New" FontSize="14" Fixed="Yes"
 Adjust="Right" VerticalAdjust="Center" Color="#00FF00" BackgroundColor="#303030" Bright="Yes">
<String>%((L:N,number))%!4d!</String></Text></Element>
<Element><Visible>(L:H,bool)</Visible><Position X="70" Y="0"/><Image Name="hidden.bmp"/></Element>
</Gauge>)";

class SnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.write("panel/panel.cfg", kPanel);
    folder_.write("panel/test/switch.xml", kSwitch);
    folder_.write("panel/test/needle.xml", kNeedle);
    folder_.write("panel/test/drum.xml", kDrum);
    folder_.write("panel/test/readout.xml", kReadout);
    folder_.write("panel/test/needle_degrees.xml", kNeedleDegrees);
    folder_.write("panel/test/needle_radians.xml", kNeedleRadians);
    folder_.write("panel/test/needle_south.bmp", bitmap(6, 90, false, plain(kRed)));
    folder_.write("panel/window.bmp", bitmap(40, 25, false, plain(kWhite)));
    // The switch's background: pure black (left) is not drawn, near black (next) is.
    folder_.write("panel/test/switch_bg.bmp", bitmap(40, 60, true, [](int x, int) {
                    return x < 5 ? 0u : x < 10 ? kNearBlack : kGrey;
                  }));
    folder_.write("panel/test/off.bmp", bitmap(20, 50, true, plain(kRed)));
    folder_.write("panel/test/on.bmp", bitmap(20, 50, false, plain(kGreen)));
    folder_.write("panel/test/needle_bg.bmp", bitmap(200, 200, false, plain(kGrey)));
    folder_.write("panel/test/needle.bmp", bitmap(90, 6, false, plain(kRed)));
    folder_.write("panel/test/drum_bg.bmp", bitmap(100, 40, false, plain(kGrey)));
    folder_.write("panel/test/win.bmp", bitmap(12, 16, false, plain(kWhite)));
    folder_.write("panel/test/strip.bmp", bitmap(12, 176, true, [](int, int y) { return cellColor((175 - y) / 16); }));
    folder_.write("panel/test/readout_bg.bmp", bitmap(80, 40, false, plain(kGrey)));
    folder_.write("panel/test/hidden.bmp", bitmap(10, 40, false, plain(kMagenta)));
  }

  // The window drawn after the script's first frame sets the variables.
  gauges::Raster draw(const std::string& sets, bool night = false) {
    folder_.write("script.txt", sets);
    SnapshotRequest request;
    request.panelConfig = (folder_.path() / "panel/panel.cfg").string();
    request.panelShown = "panel/panel.cfg";
    request.parameters = "";
    request.scriptFile = (folder_.path() / "script.txt").string();
    request.night = night;
    std::vector<std::string> missing;
    gauges::Raster raster = drawSnapshot(request, missing);
    EXPECT_TRUE(missing.empty());
    return raster;
  }

  static Rgb at(const gauges::Raster& r, double x, double y) {
    const uint8_t* p = r.at(static_cast<int>(x), static_cast<int>(y));
    return (static_cast<Rgb>(p[0]) << 16) | (static_cast<Rgb>(p[1]) << 8) | p[2];
  }

  test::TempFolder folder_;
};

TEST_F(SnapshotTest, SwitchShowsTheCaseItsValueChoosesAndBlackIsNotDrawn) {
  const struct {
    const char* value;
    Rgb inside;
  } cases[] = {{"0", kRed}, {"1", kGreen}, {"2", kGrey}};
  for (const auto& c : cases) {
    const gauges::Raster r = draw(std::string("at 0 set T ") + c.value + "\n");
    ASSERT_EQ(r.width, 700);
    ASSERT_EQ(r.height, 250);
    SCOPED_TRACE(c.value);
    EXPECT_EQ(at(r, 10, 5), c.inside);
    EXPECT_EQ(at(r, 29, 54), c.inside);
    EXPECT_EQ(at(r, 30, 30), kGrey);
    EXPECT_EQ(at(r, 20, 55), kGrey);
    EXPECT_EQ(at(r, 2, 30), kWhite);       // pure black: the window shows through
    EXPECT_EQ(at(r, 7, 30), kNearBlack);   // near black is drawn
  }
}

TEST_F(SnapshotTest, NeedleTipStandsWhereItsTableAims) {
  constexpr double kPi = 3.14159265358979323846;
  const struct {
    const char* value;
    double degrees;  // clockwise from East
  } cases[] = {{"0", -90}, {"25", -45}, {"50", 0}, {"100", 90}, {"130", 90}, {"-20", -90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const gauges::Raster r = draw(std::string("at 0 set V ") + c.value + "\n");
    const double t = c.degrees * kPi / 180.0;
    // Gauge (100,100) stands at window (200,100); the needle is 90 long.
    EXPECT_EQ(at(r, 200 + 86 * std::cos(t), 100 + 86 * std::sin(t)), kRed);
    EXPECT_EQ(at(r, 200 + 94 * std::cos(t), 100 + 94 * std::sin(t)), kGrey);
    EXPECT_EQ(at(r, 200 - 40 * std::cos(t), 100 - 40 * std::sin(t)), kGrey);
    // Degrees items from -90° at 0 to 90° at 100, held at their ends; and
    // radians (value/100·π − π/2) on the same line, which no table holds.
    const double radians = (std::stod(c.value) * 1.8 - 90) * kPi / 180.0;
    for (const auto& [pivotX, u] : {std::make_pair(400.0, t), std::make_pair(600.0, radians)}) {
      EXPECT_EQ(at(r, pivotX + 86 * std::cos(u), 100 + 86 * std::sin(u)), kRed) << pivotX;
      EXPECT_EQ(at(r, pivotX - 40 * std::cos(u), 100 - 40 * std::sin(u)), kGrey) << pivotX;
    }
  }
}

TEST_F(SnapshotTest, DrumShowsItsDigitThroughTheMaskOnly) {
  gauges::Raster r = draw("at 0 set D 3\n");
  EXPECT_EQ(at(r, 40, 112), cellColor(3));
  EXPECT_EQ(at(r, 51, 127), cellColor(3));
  EXPECT_EQ(at(r, 45, 129), kGrey);  // the strip goes on below the window, unseen
  EXPECT_EQ(at(r, 45, 110), kGrey);
  r = draw("at 0 set D 3.5\n");
  EXPECT_EQ(at(r, 45, 114), cellColor(4));
  EXPECT_EQ(at(r, 45, 125), cellColor(3));
  r = draw("at 0 set D 10\n");
  EXPECT_EQ(at(r, 45, 118), cellColor(10));
}

TEST_F(SnapshotTest, ReadoutTextStandsRightAlignedInItsColourAndAHiddenElementDrawsNothing) {
  for (const char* hidden : {"0", "1"}) {
    SCOPED_TRACE(hidden);
    const gauges::Raster r = draw(std::string("at 0 set N 42\nat 0 set H ") + hidden + "\n");
    // The box stands at gauge (10,20), window (10,170): grey where no glyph is.
    EXPECT_EQ(at(r, 11, 171), 0x303030u);
    EXPECT_EQ(at(r, 9, 171), kGrey);
    int greenLeft = 0;
    int greenRight = 0;
    for (int y = 170; y < 186; ++y) {
      for (int x = 10; x < 70; ++x) {
        const uint8_t* p = r.at(x, y);
        if (p[1] > 0xA0 && p[0] < 0x60 && p[2] < 0x60) (x < 40 ? greenLeft : greenRight)++;
      }
    }
    EXPECT_EQ(greenLeft, 0);
    EXPECT_GT(greenRight, 20);
    EXPECT_EQ(at(r, 75, 170), std::string(hidden) == "1" ? kMagenta : kGrey);
  }
  // At night the Bright readout stays as drawn; the plain background dims.
  const gauges::Raster night = draw("at 0 set N 42\n", true);
  EXPECT_EQ(at(night, 11, 171), 0x303030u);
  EXPECT_EQ(at(night, 9, 171), 0x262626u);
}

TEST_F(SnapshotTest, DelayedNeedleTurnsAtItsRateFrameByFrame) {
  // From North at 90° a second toward South, the value set at 1 s: the needle
  // moves in each frame from that one on, 5° a frame at 18 frames a second.
  folder_.write("panel/panel.cfg", "[Window00]\nsize_mm=200,200\ngauge00=test!delayed, 0,0\n");
  folder_.write("panel/test/delayed.xml", R"(<Gauge Name="delayed"><Image Name="needle_bg.bmp"/>
<Element><Position X="100" Y="100"/><Image Name="needle.bmp"><Axis X="0" Y="3"/></Image>
<Rotate><Value>(L:V,number) 90 - dgrd</Value><Delay DegreesPerSecond="90"/></Rotate></Element></Gauge>)");
  folder_.write("script.txt", "at 0 set V 0\nat 1 set V 180\nwait 3\n");
  constexpr double kPi = 3.14159265358979323846;
  const struct {
    double at;
    double degrees;  // clockwise from East
  } cases[] = {{0, -90}, {0.5, -90}, {2, -90 + 95}, {3, 90}, {4, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    SnapshotRequest request;
    request.panelConfig = (folder_.path() / "panel/panel.cfg").string();
    request.panelShown = "panel/panel.cfg";
    request.parameters = "";
    request.scriptFile = (folder_.path() / "script.txt").string();
    request.at = c.at;
    std::vector<std::string> missing;
    const gauges::Raster r = drawSnapshot(request, missing);
    for (double degrees : {-90.0, 0.0, 90.0, c.degrees}) {
      const double t = degrees * kPi / 180.0;
      EXPECT_EQ(at(r, 100 + 80 * std::cos(t), 100 + 80 * std::sin(t)), degrees == c.degrees ? kRed : kGrey)
          << degrees;
    }
  }
}

TEST_F(SnapshotTest, CommandLineThatCannotBeFollowed) {
  folder_.write("script.txt", "at 1 set T 1\n");
  SnapshotRequest request;
  request.panelConfig = (folder_.path() / "panel/panel.cfg").string();
  request.panelShown = "panel/panel.cfg";
  request.parameters = "";
  request.scriptFile = (folder_.path() / "script.txt").string();
  request.outFile = (folder_.path() / "out.png").string();
  std::FILE* sink = std::tmpfile();
  request.at = 1.5;
  EXPECT_EQ(snapshotCommand(request, sink, sink), kExitCannotFollow);
  request.at = 1.0;
  request.window = "Window09";
  EXPECT_EQ(snapshotCommand(request, sink, sink), kExitCannotFollow);
  request.window = "window00";
  EXPECT_EQ(snapshotCommand(request, sink, sink), kExitHeld);
  std::fclose(sink);
  const std::optional<std::string> png = readWholeFile(request.outFile);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->substr(1, 3), "PNG");
}

}  // namespace
}  // namespace vorlanex::tool
