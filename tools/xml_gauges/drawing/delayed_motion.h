// Where each delayed needle and shifted image of a running panel stands:
// a Delay lets the drawing move toward the place its values give at no more
// than so much a second, frame by frame. Kept per element of each gauge, and
// moved by the time passed since that element was last drawn, so a display
// list made twice at one moment moves nothing the second time.
#pragma once

#include <map>
#include <tuple>
#include <utility>

namespace vorlanex::gauges {

class DelayedMotion {
 public:
  // The angle (radians, clockwise) a Rotate of element `element` of gauge
  // `gauge` stands at, at `now` seconds, heading for `target`.
  double turn(int gauge, int element, double target, double degreesPerSecond, double now);
  // The offset (gauge pixels) a Shift stands at, heading for (x, y).
  std::pair<double, double> shift(int gauge, int element, std::pair<double, double> target,
                                  double pixelsPerSecond, double now);

 private:
  struct Place {
    double x = 0.0;  // the angle, or the offset's x
    double y = 0.0;
    double time = 0.0;
  };
  enum Kind { kTurn, kShift };
  // The element's place, first standing at the target.
  Place& placeOf(int gauge, int element, Kind kind, double x, double y, double now);

  std::map<std::tuple<int, int, Kind>, Place> places_;
};

}  // namespace vorlanex::gauges
