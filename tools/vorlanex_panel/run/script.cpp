#include "script.h"

#include <algorithm>
#include <cstdio>

#include "report_text.h"

namespace vorlanex::tool {
namespace {

std::string exactNumber(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

}  // namespace

std::string stepText(const Step& step, Digits digits) {
  using namespace keyword;
  const auto number = [&](double value) {
    return digits == Digits::kExact ? exactNumber(value) : shortNumber(value);
  };
  const std::string space = " ";
  switch (step.action) {
    case Action::kSet:
      return kSet + space + step.variable + space + number(step.value);
    case Action::kExpect:
      return kExpect + space + step.variable + space + number(step.value);
    case Action::kWait:
      return kWait + space + number(step.seconds);
    case Action::kWaitUntil:
      return kWait + space + kUntil + space + step.variable + space + number(step.value) + space +
             kWithin + space + number(step.seconds);
    case Action::kSoundOn:
      return kSound + space + kOn;
    case Action::kSoundOff:
      return kSound + space + kOff;
    case Action::kLoadGlobal:
      return kLoad + space + kGlobalDll;
    case Action::kUnloadGlobal:
      return kUnload + space + kGlobalDll;
  }
  return {};
}

double longestDuration(const Script& script) {
  double time = 0.0;
  for (const Step& step : script.steps) {
    time = std::max(time, step.at);
    if (step.action == Action::kWait || step.action == Action::kWaitUntil) time += step.seconds;
  }
  return time;
}

}  // namespace vorlanex::tool
