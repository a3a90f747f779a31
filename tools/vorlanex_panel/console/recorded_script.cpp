#include "recorded_script.h"

namespace vorlanex::tool {
namespace {

// "at SECONDS STEP", the step's numbers with every digit, so the replay
// writes the same numbers.
std::string timedLine(double time, const Step& step) {
  return std::string(keyword::kAt) + " " + frameTimeText(time) + " " +
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
