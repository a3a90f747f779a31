// Panel volumes are percent (100 full, 0 silent); buffer volumes are
// hundredths of a decibel (0 full, -10000 silent).
#pragma once

namespace vorlanex {

constexpr double kFullPercent = 100.0;

// (percent - 100) * 100, with the percent held to 0..100 first: above 100 is
// full volume and below 0, or not a number, is silent. The device refuses a
// volume outside its range, and a refused volume would leave a sound silent
// for good once the simulator's sound had been off, so none is ever stored.
inline double percentToHundredths(double percent) {
  if (!(percent > 0.0)) percent = 0.0;  // NaN too
  if (percent > kFullPercent) percent = kFullPercent;
  return (percent - kFullPercent) * 100.0;
}

}  // namespace vorlanex
