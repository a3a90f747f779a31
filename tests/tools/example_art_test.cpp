// The example panel drawn with its artwork (written by make_example_images
// into the built copy of the panel and packed into its cabinet): every bitmap
// found, and the battery rocker, the door handle and the tachometer's needle
// drawn as the aircraft stands, the chime lit while its sound plays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "snapshot_command.h"
#include "support/temp_folder.h"

namespace vorlanex::tool {
namespace {

using Rgb = uint32_t;

// The battery switched on, the engine at 1600 rpm and the door opening, its
// panel open (a closed window's gauges do not run); the chime pressed, lit
// while it plays and dark again once the module hands its variable back.
const char* const kScript = R"(at 0.1 click Cabin!battery_switch
open 10101
set (A:GENERAL ENG RPM:1, rpm) 1600
event TOGGLE_AIRCRAFT_EXIT
at 0.2 click Cabin!chime_button "Cabin chime"
click Cabin!chime_button "Cabin chime" as Leave
wait 2
)";

class ExampleArtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Entry by entry: MinGW's library will not copy a tree into a folder that exists.
    for (const auto& entry : std::filesystem::directory_iterator(VORLANEX_EXAMPLE_PANEL)) {
      std::filesystem::copy(entry.path(), folder_.path() / entry.path().filename(),
                            std::filesystem::copy_options::recursive);
    }
    folder_.write("art.txt", kScript);
  }

  gauges::Raster draw(double at, const std::string& window) {
    SnapshotRequest request;
    request.panelConfig = "Aircraft/Cabin/panel/panel.cfg";
    request.panelShown = request.panelConfig;
    request.scriptFile = "art.txt";
    request.at = at;
    request.window = window;
    std::vector<std::string> missing;
    gauges::Raster raster = drawSnapshot(request, missing);
    EXPECT_EQ(missing, std::vector<std::string>{});
    return raster;
  }

  static Rgb at(const gauges::Raster& r, double x, double y) {
    const uint8_t* p = r.at(static_cast<int>(x), static_cast<int>(y));
    return (static_cast<Rgb>(p[0]) << 16) | (static_cast<Rgb>(p[1]) << 8) | p[2];
  }

  test::TempFolder folder_;
};

TEST_F(ExampleArtTest, SwitchesLampAndNeedleFollowTheAircraft) {
  constexpr Rgb kGreen = 0x30D050, kRed = 0xC82020, kLitAmber = 0xFFB020;
  constexpr double kPi = 3.14159265358979323846;
  // The tachometer's pivot stands at window (290,60); 1600 rpm aims 279°
  // clockwise from East, 0 rpm 135°.
  const double turned = (135.0 + 0.09 * 1600) * kPi / 180.0;
  const double needleX = 290 + 20 * std::cos(turned);
  const double needleY = 60 + 20 * std::sin(turned);
  const struct {
    double at;
    bool on;
    bool chimeLit;
  } moments[] = {{0.0, false, false}, {0.6, true, true}, {2.0, true, false}};
  for (const auto& m : moments) {
    SCOPED_TRACE(m.at);
    const gauges::Raster main = draw(m.at, "Main Panel");
    ASSERT_EQ(main.width, 480);
    ASSERT_EQ(main.height, 120);
    // The rocker at (190,10): a green bar on top when on, a red one below when off.
    EXPECT_EQ(at(main, 205, 18) == kGreen, m.on);
    EXPECT_EQ(at(main, 205, 41) == kRed, !m.on);
    EXPECT_EQ(at(main, 30, 30) == kLitAmber, m.chimeLit);
    const uint8_t* needle = main.at(static_cast<int>(needleX), static_cast<int>(needleY));
    EXPECT_EQ(needle[0] > 0xC0 && needle[1] > 0xC0 && needle[2] > 0xC0, m.on);  // white needle or dark face
    // The door handle at (10,10) of the attendant's panel shows its red flag once open.
    const gauges::Raster door = draw(m.at, "Door Attendant Panel");
    EXPECT_EQ(at(door, 30, 77) == kRed, m.on);
  }
}

}  // namespace
}  // namespace vorlanex::tool
