#include "delayed_motion.h"

#include <algorithm>
#include <cmath>

#include "drawing_choices.h"

namespace vorlanex::gauges {
namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

DelayedMotion::Place& DelayedMotion::placeOf(int gauge, int element, Kind kind, double x, double y,
                                             double now) {
  return places_.try_emplace({gauge, element, kind}, Place{x, y, now}).first->second;
}

double DelayedMotion::turn(int gauge, int element, double target, double degreesPerSecond, double now) {
  Place& place = placeOf(gauge, element, kTurn, target, 0.0, now);
  double way = target - place.x;
  if (drawing_choices::kDelayTurnsTheShorterWay) way = std::remainder(way, 2 * kPi);
  const double most = degreesPerSecond * kPi / 180.0 * std::max(0.0, now - place.time);
  place.x = std::abs(way) <= most ? target : place.x + std::copysign(most, way);
  place.time = now;
  return place.x;
}

std::pair<double, double> DelayedMotion::shift(int gauge, int element, std::pair<double, double> target,
                                               double pixelsPerSecond, double now) {
  Place& place = placeOf(gauge, element, kShift, target.first, target.second, now);
  const double wayX = target.first - place.x;
  const double wayY = target.second - place.y;
  const double distance = std::hypot(wayX, wayY);
  const double most = pixelsPerSecond * std::max(0.0, now - place.time);
  if (distance <= most) {
    place.x = target.first;
    place.y = target.second;
  } else {
    place.x += wayX * most / distance;
    place.y += wayY * most / distance;
  }
  place.time = now;
  return {place.x, place.y};
}

}  // namespace vorlanex::gauges
