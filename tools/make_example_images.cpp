// Writes the example panel's artwork, drawn here: the windows' backgrounds
// and the gauges' bitmaps, each at the size of the gauge's mouse areas (one
// pixel a unit). Given the panel folder it writes the images of the gauges in
// the aircraft's folder beside their XML and the windows' backgrounds beside
// panel.cfg; given --cabinet and a folder, the images packed in the
// cabin_switches cabinet with its gauges.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bitmap_bytes.h"
#include "example_canvas.h"

namespace {

using namespace vorlanex::exampleart;

constexpr double kPi = 3.14159265358979323846;

constexpr Rgb kPlate = 0x3E4248, kPlateEdge = 0x2A2D31, kSlot = 0x141518, kLabel = 0xE8E8E8;
constexpr Rgb kRaised = 0xB4B6BA, kPressed = 0x5C5F64, kFace = 0x101114, kHub = 0x7A7E86;
constexpr Rgb kAmberDim = 0x5A3C14, kAmberLit = 0xFFB020, kRed = 0xC82020, kGreen = 0x30D050;

// Gauges' images in 8 bits, the windows' backgrounds in 24: both kinds the
// simulator reads.
struct Image {
  std::string name;
  Canvas canvas;
  bool paletted = true;
};

// A plate with a darker rim, the ground of each gauge.
Canvas plate(int width, int height) {
  Canvas c(width, height);
  c.rect(0, 0, width, height, kPlateEdge);
  c.rect(1, 1, width - 1, height - 1, kPlate);
  return c;
}

// The master battery rocker, 30x40: the half pressed in is dark, the other
// stands out; on shows a green bar on top, off a red one below.
Canvas batteryRocker(bool on) {
  Canvas c(30, 40);
  c.gradient(7, 5, 23, 20, on ? kPressed : kRaised, on ? kPressed : 0x8C8E92);
  c.gradient(7, 20, 23, 35, on ? 0x8C8E92 : kPressed, on ? kRaised : kPressed);
  if (on) {
    c.rect(9, 7, 21, 10, kGreen);
  } else {
    c.rect(9, 30, 21, 33, kRed);
  }
  return c;
}

// The fan's toggle, 40x40: its lever up (on) or down (off) from the pivot.
Canvas fanToggle(bool on) {
  Canvas c(40, 40);
  const double tip = on ? 8 : 32;
  c.line(20, 20, 20, tip, 5, kRaised);
  c.disc(20, tip, 4.5, 0xD8DADE);
  c.disc(20, 20, 3, kPressed);
  return c;
}

// The door's handle in its recess, 40x80: along the door when shut, turned
// across it with a red flag when open.
Canvas doorHandle(bool open) {
  Canvas c(40, 80);
  if (open) {
    c.line(12, 40, 30, 40, 6, kRaised);
    c.rect(10, 64, 30, 70, kRed);
  } else {
    c.line(20, 18, 20, 60, 6, kRaised);
  }
  c.disc(20, 40, 4, kHub);
  return c;
}

// The tachometer's dial, 100x100: 0 to 3000 rpm over 270 degrees, clockwise
// from 135 degrees (down left), as the gauge's Nonlinearity aims its needle.
Canvas tachometerDial() {
  Canvas c(100, 100);
  c.disc(50, 50, 49.5, kPlateEdge);
  c.disc(50, 50, 46, kFace);
  for (int rpm = 0; rpm <= 3000; rpm += 250) {
    const double angle = (135.0 + 0.09 * rpm) * kPi / 180.0;
    const bool major = rpm % 1000 == 0;
    const double inner = major ? 34 : 38;
    c.line(50 + inner * std::cos(angle), 50 + inner * std::sin(angle), 50 + 43 * std::cos(angle),
           50 + 43 * std::sin(angle), major ? 2.5 : 1.5, rpm >= 2500 ? kRed : kLabel);
    if (major) c.centredText(static_cast<int>(50 + 26 * std::cos(angle)) + 1, static_cast<int>(50 + 26 * std::sin(angle)) - 3,
                             std::to_string(rpm / 1000), kLabel);
  }
  c.centredText(50, 60, "RPM", kLabel);
  c.centredText(50, 80, "X1000", 0x9A9EA6);
  return c;
}

// The needle, drawn pointing East; its pivot at (8,3) is the gauge's Axis.
Canvas tachometerNeedle() {
  Canvas c(48, 7);
  c.rect(0, 1, 8, 6, kPressed);  // the tail behind the pivot
  c.rect(8, 2, 36, 5, 0xF0F0F0);
  c.rect(36, 3, 48, 4, 0xF0F0F0);
  return c;
}

Canvas mainPanel() {
  Canvas c(480, 120);
  c.gradient(0, 0, 480, 120, 0x4A4F56, 0x33363B);
  c.rect(0, 0, 480, 2, kPlateEdge), c.rect(0, 118, 480, 120, kPlateEdge);
  for (int x : {8, 472}) c.disc(x, 112, 3, kHub), c.line(x - 2, 110, x + 2, 114, 1, kSlot);
  c.centredText(30, 54, "CHIME", kLabel);
  c.centredText(80, 54, "FAN", kLabel);
  c.centredText(130, 54, "ALL OFF", kLabel);
  c.centredText(170, 34, "SOUND", kLabel);
  c.centredText(170, 43, "OFF", kLabel);
  c.centredText(205, 54, "BATT", kLabel);
  c.centredText(390, 44, "SOUND VOL %", kLabel);
  c.text(360, 92, "CABIN", 0x8A8F98, 2);
  return c;
}

Canvas doorPanel() {
  Canvas c(400, 100);
  c.gradient(0, 0, 400, 100, 0x52565C, 0x3A3D42);
  c.text(120, 12, "ATTENDANT PANEL", 0x8A8F98, 2);
  c.centredText(30, 92, "DOOR", kLabel);
  return c;
}

std::vector<Image> folderImages() {
  Canvas chime = plate(40, 40);
  chime.disc(20, 20, 15, kSlot);
  chime.disc(20, 20, 13, kAmberDim);
  Canvas chimeLit(40, 40);
  chimeLit.disc(20, 20, 13, kAmberLit);
  chimeLit.disc(16, 16, 4, 0xFFE0A0);
  Canvas chimeDown(40, 40);  // a shadow ring over the face: pushed in
  chimeDown.disc(20, 20, 13, kSlot, 10);
  Canvas battery = plate(30, 40);
  battery.rect(5, 3, 25, 37, kSlot);
  Canvas lamp = plate(20, 20);
  lamp.rect(3, 3, 17, 17, kAmberDim);
  Canvas lampLit(20, 20);
  lampLit.rect(3, 3, 17, 17, kAmberLit);
  Canvas readout = plate(80, 30);
  readout.rect(8, 5, 72, 25, kSlot);
  return {{"Cabin/chime_button.bmp", chime},
          {"Cabin/chime_button_lit.bmp", chimeLit},
          {"Cabin/chime_button_down.bmp", chimeDown},
          {"Cabin/battery_switch.bmp", battery},
          {"Cabin/battery_switch_off.bmp", batteryRocker(false)},
          {"Cabin/battery_switch_on.bmp", batteryRocker(true)},
          {"Cabin/sound_off.bmp", lamp},
          {"Cabin/sound_off_lit.bmp", lampLit},
          {"Cabin/tachometer.bmp", tachometerDial()},
          {"Cabin/tachometer_needle.bmp", tachometerNeedle()},
          {"Cabin/volume_readout.bmp", readout},
          {"main_panel.bmp", mainPanel(), false},
          {"door_panel.bmp", doorPanel(), false}};
}

std::vector<Image> cabinetImages() {
  Canvas fan = plate(40, 40);
  fan.rect(14, 4, 26, 36, kSlot);
  Canvas stop = plate(40, 40);
  stop.rect(7, 7, 33, 33, kSlot);
  stop.rect(9, 9, 31, 31, kRed);
  Canvas door = plate(40, 80);
  door.rect(8, 8, 32, 72, kSlot);
  Canvas seatbelt = plate(40, 40);
  seatbelt.rect(3, 6, 37, 34, kSlot);
  seatbelt.centredText(20, 10, "SEAT", kAmberLit);
  seatbelt.centredText(20, 22, "BELT", kAmberLit);
  return {{"fan_switch.bmp", fan},
          {"fan_switch_on.bmp", fanToggle(true)},
          {"fan_switch_off.bmp", fanToggle(false)},
          {"stop_all.bmp", stop},
          {"door_handle.bmp", door},
          {"door_handle_shut.bmp", doorHandle(false)},
          {"door_handle_open.bmp", doorHandle(true)},
          {"seatbelt_sign.bmp", seatbelt}};
}

}  // namespace

int main(int argc, char** argv) {
  const bool cabinet = argc == 3 && std::string(argv[1]) == "--cabinet";
  if (argc != 2 && !cabinet) {
    std::fprintf(stderr, "usage: %s PANEL_FOLDER | --cabinet FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder =
      cabinet ? std::filesystem::path(argv[2]) : std::filesystem::path(argv[1]) / "Aircraft" / "Cabin" / "panel";
  for (const Image& image : cabinet ? cabinetImages() : folderImages()) {
    const std::filesystem::path file = folder / image.name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    const Canvas& canvas = image.canvas;
    out << vorlanex::bitmapbytes::bitmap(canvas.width(), canvas.height(), image.paletted,
                                         [&canvas](int x, int y) { return canvas.at(x, y); });
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
      return 1;
    }
  }
  return 0;
}
