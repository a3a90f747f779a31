// A panel of 200 XML gauges in the shapes sound logic takes (power gates,
// edge detectors, latches, loops while a condition holds, volume from RPM
// throttled by a G: counter, timers, press and hold, a few string operators
// and formatted texts), about 2,000 scripts, and the same logic written in
// Lua as a plugin of another simulator would keep it; with the inputs both
// see frame by frame.
#pragma once

#include <string>
#include <vector>

#include "gauge_panel.h"
#include "shared_variables.h"
#include "simulated_aircraft.h"

namespace vorlanex::bench {

struct BenchPanel {
  std::vector<gauges::PanelWindowSection> windows;
  std::vector<gauges::PanelGaugeLine> gauges;  // every one an XML gauge
  int scripts = 0;                             // in all the gauges' texts
  std::string lua;                             // a chunk that returns the frame function
  std::vector<std::string> variables;          // every L: name either side uses
};

// `count` gauges (200 make the benchmark's panel), in four windows.
BenchPanel makeBenchPanel(int count = 200);

// The inputs of frame `frame`, set before it runs, the same on either side:
// the engine's RPM ramps and its combustion follows, the battery, the door
// and the flaps move, the panel's switches are flipped, and the sound module
// hands a gauge's command back as 0 as a one-shot would.
class BenchInputs {
 public:
  BenchInputs(gauges::SharedVariables& shared, gauges::SimulatedAircraft& aircraft, int count);
  void apply(int frame);

 private:
  gauges::SharedVariables& shared_;
  gauges::SimulatedAircraft& aircraft_;
  int rpm_, combustion_, battery_, panel_, exit_, flaps_;
  std::vector<int> switches_, modes_, buttons_, commands_;
};

}  // namespace vorlanex::bench
