#include "script.h"

#include <algorithm>

namespace vorlanex::panel {

double longestDuration(const Script& script) {
  double time = 0.0;
  for (const Step& step : script.steps) {
    time = std::max(time, step.at);
    if (step.action == Action::kWait || step.action == Action::kWaitUntil) time += step.seconds;
  }
  return time;
}

}  // namespace vorlanex::panel
