// The panel's XML gauges as the console's page shows them: each window's
// display list (what `snapshot` paints), each gauge's mouse areas, the
// simulated aircraft's variables, the events sent and who last wrote each L:
// variable. What stands still is made once, and again after a reload of the
// panel's files, for any thread; what moves is followed by the frame loop
// alone. Images are decoded once and served by their index.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <unordered_map>
#include <vector>

#include "delayed_motion.h"
#include "gauge_images.h"
#include "gauge_panel.h"
#include "named_variables.h"
#include "run_record.h"
#include "simulated_aircraft.h"
#include "tooltip_texts.h"

namespace vorlanex::tool {

// What stands still between two reloads of the panel's files: the windows,
// the gauges and their areas, the aircraft's variables the page may set, as
// steps name them. Made by the frame loop, read by any thread.
struct GaugeFacts {
  struct Area {
    int number;
    gauges::Rect rect;  // width 0: the whole gauge
    std::vector<std::string> kinds;
  };
  // The aircraft's slots bound when the facts were made, as steps name them.
  struct AircraftSlot {
    int slot;
    gauges::VariableName name;
    bool clock;
  };
  std::string json;  // the windows, gauges, areas and aircraft variables
  std::vector<std::string> windowSections;
  std::vector<bool> windowsOpen;  // as the facts were made
  std::vector<int> windowOf;      // by gauge: its window, -1 when its section names none
  std::vector<std::string> stepTargets;
  std::vector<std::vector<Area>> areas;  // by gauge, in their numbers' order
  std::vector<AircraftSlot> slots;
};

class GaugeView {
 public:
  // `images`: the bitmaps' bytes, beside each gauge and beside panel.cfg.
  // `root`: the simulator's root folder, which the page leaves out of the
  // files it shows.
  GaugeView(const gauges::GaugePanel& panel, gauges::SimulatedAircraft& aircraft,
            gauges::ImageBytes images, std::string root);

  // --- Fixed between reloads: any thread -----------------------------------
  std::shared_ptr<const GaugeFacts> facts() const;
  // The windows, gauges, areas and aircraft variables, as JSON.
  std::string factsJson() const { return facts()->json; }
  // The decoded image `index` of the display lists as a PNG file; nothing
  // for an index no list has given yet.
  std::optional<std::string> imagePng(std::size_t index);
  std::size_t gaugeCount() const { return facts()->windowOf.size(); }
  // The window the gauge stands in; -1 when its section names none.
  int windowOf(std::size_t gauge) const { return facts()->windowOf.at(gauge); }
  // The aircraft's variables the page may set (the clock's are only shown).
  std::size_t aircraftCount() const { return facts()->slots.size(); }
  bool settable(std::size_t variable) const;
  gauges::VariableName aircraftVariable(std::size_t variable) const;
  // The gauge as a click step names it: "FILE!NAME", or "WINDOW/FILE!NAME"
  // when an earlier line loads the same gauge.
  std::string stepTarget(std::size_t gauge) const { return facts()->stepTargets.at(gauge); }
  // Whether area `number` of the gauge listens to `kind`.
  bool listens(std::size_t gauge, int number, const std::string& kind) const;
  // Whether the point (gauge pixels) lies in area `number` of the gauge.
  bool areaHolds(std::size_t gauge, int number, double x, double y) const;

  // --- The frame loop's ----------------------------------------------------
  // After a reload of gauges or of panel.cfg: the facts made again.
  void remakeFacts();
  // After a save of a bitmap: each is decoded again at its next drawing.
  void readImagesAgain();
  void noteWrite(const std::string& name, const Writer& writer);
  void noteSent(const SentEventRecord& sent);
  // What moves, as named JSON parts the page is sent when they change:
  // windows open, aircraft values, events, L: variables, tooltips written as
  // gauge strings, and each window's
  // display list ("d:W:n" its length, "d:W:I" its item I).
  using Parts = std::vector<std::pair<std::string, std::string>>;
  void addFrameParts(const host::NamedVariables& variables, Parts& parts);

 private:
  std::shared_ptr<const GaugeFacts> makeFacts() const;

  const gauges::GaugePanel& panel_;
  const gauges::SimulatedAircraft& aircraft_;
  std::mutex imagesMutex_;  // the frame loop adds images, the server reads them
  gauges::GaugeImages images_;
  gauges::DelayedMotion motion_;  // the frame loop's: moved once a frame, by the clock
  // Each window's display list as parts, made again only in a frame its
  // window is open: a closed window's gauges do not run, so it shows what its
  // last open frame left, and a panel of many closed pop-ups costs nothing.
  std::vector<Parts> windowParts_;
  TooltipTexts tooltips_;
  std::string root_;
  mutable std::mutex factsMutex_;
  std::shared_ptr<const GaugeFacts> facts_;
  std::unordered_map<std::string, Writer> lastWriters_;
  std::deque<SentEventRecord> sent_;  // the last few, oldest first
  std::size_t sentCount_ = 0;
};

}  // namespace vorlanex::tool
