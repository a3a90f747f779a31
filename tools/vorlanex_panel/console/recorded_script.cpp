#include "recorded_script.h"

#include <cmath>
#include <cstdio>

namespace vorlanex::tool {
namespace {

// A frame's time to the microsecond, never above it: `run` carries out a
// step in the first frame whose time reaches its "at" (within a nanosecond),
// so a time rounded up would move it a frame later. Frames are at least a
// millisecond apart.
std::string frameTime(double seconds) {
  double rounded = std::round(seconds * 1e6) / 1e6;
  if (rounded > seconds + 5e-10) rounded -= 1e-6;
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", rounded);
  std::string time = text;
  time.erase(time.find_last_not_of('0') + 1);
  if (time.back() == '.') time.pop_back();
  return time;
}

// "at SECONDS STEP", the step's numbers with every digit, so the replay
// writes the same numbers.
std::string timedLine(double time, const Step& step) {
  return std::string(keyword::kAt) + " " + frameTime(time) + " " +
         stepText(step, Digits::kExact);
}

}  // namespace

std::string scriptHeading(const std::string& heading) {
  std::string lines;
  std::size_t start = 0;
  while (start < heading.size()) {
    const std::size_t end = heading.find('\n', start);
    lines += "# " + heading.substr(start, end - start) + "\n";
    start = end == std::string::npos ? heading.size() : end + 1;
  }
  return lines;
}

std::string scriptLine(const StepEvent& event) { return timedLine(event.time, *event.step) + "\n"; }

std::string lastFrameLine(int frames, double framesPerSecond) {
  const int last = frames - 1;
  if (last < 0) return {};
  const Step waitNothing{0, 0.0, Action::kWait, {}};
  return timedLine(last * (1.0 / framesPerSecond), waitNothing) + "   # frame " +
         std::to_string(last) + ", the session's last\n";
}

std::string recordedScript(const RunRecord& record, const std::string& heading) {
  std::string script = scriptHeading(heading);
  for (const StepEvent& event : record.events) script += scriptLine(event);
  return script + lastFrameLine(record.frames, record.framesPerSecond);
}

}  // namespace vorlanex::tool
