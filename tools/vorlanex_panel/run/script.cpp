#include "script.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report_text.h"

namespace vorlanex::tool {
namespace {

std::string exactNumber(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string variableText(const StepVariable& variable) {
  if (variable.bare) return variable.name.name;
  return gauges::variableText(variable.name);
}

// A tooltip or gauge in quotes, with a quote or backslash in it escaped.
std::string quoted(const std::string& text) {
  std::string out(1, keyword::kQuote);
  for (const char c : text) {
    if (c == keyword::kQuote || c == '\\') out += '\\';
    out += c;
  }
  return out + keyword::kQuote;
}

}  // namespace

Step variableStep(Action action, const std::string& variable, double value) {
  Step step{0, Step::kRightAfter, action, {}};
  step.variable.name.name = variable;
  step.value = value;
  return step;
}

std::string frameTimeText(double seconds) {
  double rounded = std::round(seconds * 1e6) / 1e6;
  if (rounded > seconds + 5e-10) rounded -= 1e-6;
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", rounded);
  std::string time = text;
  time.erase(time.find_last_not_of('0') + 1);
  if (time.back() == '.') time.pop_back();
  return time;
}

std::string stepText(const Step& step, Digits digits) {
  using namespace keyword;
  const auto number = [&](double value) {
    return digits == Digits::kExact ? exactNumber(value) : shortNumber(value);
  };
  const std::string space = " ";
  const std::string variable = variableText(step.variable);
  switch (step.action) {
    case Action::kSet:
      return kSet + space + variable + space + number(step.value);
    case Action::kExpect:
      return kExpect + space + variable + space + number(step.value);
    case Action::kWait:
      return kWait + space + number(step.seconds);
    case Action::kWaitUntil:
      return kWait + space + kUntil + space + variable + space + number(step.value) + space +
             kWithin + space + number(step.seconds);
    case Action::kRamp:
      return kRamp + space + variable + space + kTo + space + number(step.value) + space + kOver +
             space + number(step.seconds);
    case Action::kClick: {
      // A name holding blanks is quoted: bare, an "at" or "as" in it would end it.
      const bool blanks = step.target.find(' ') != std::string::npos;
      std::string text = kClick + space + (blanks ? quoted(step.target) : step.target);
      switch (step.area.by) {
        case gauges::AreaChoice::By::kTooltip:
          text += space + quoted(step.area.tooltip);
          break;
        case gauges::AreaChoice::By::kNumber:
          text += space + kAreaNumber + std::to_string(step.area.number);
          break;
        case gauges::AreaChoice::By::kPoint:
          text += space + kAt + space + number(step.area.x) + "," + number(step.area.y);
          break;
        case gauges::AreaChoice::By::kOnly:
          break;
      }
      return step.mouseKind.empty() ? text : text + space + kAs + space + step.mouseKind;
    }
    case Action::kEvent:
      // No value and 0 send the same.
      return kEvent + space + step.target + (step.value == 0.0 ? "" : space + number(step.value));
    case Action::kOpenWindow:
      return kOpen + space + step.target;
    case Action::kCloseWindow:
      return kClose + space + step.target;
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

bool needsPanel(const Step& step) {
  switch (step.action) {
    case Action::kClick:
    case Action::kEvent:
    case Action::kOpenWindow:
    case Action::kCloseWindow:
      return true;
    case Action::kSet:
    case Action::kExpect:
    case Action::kWaitUntil:
    case Action::kRamp:
      return !step.variable.panelVariable();
    case Action::kWait:
    case Action::kSoundOn:
    case Action::kSoundOff:
    case Action::kLoadGlobal:
    case Action::kUnloadGlobal:
      break;
  }
  return false;
}

double longestDuration(const Script& script) {
  double time = 0.0;
  double longest = 0.0;
  for (const Step& step : script.steps) {
    time = std::max(time, step.at);
    if (step.action == Action::kWait || step.action == Action::kWaitUntil) time += step.seconds;
    // A ramp goes on beside the steps after it.
    if (step.action == Action::kRamp) longest = std::max(longest, time + step.seconds);
  }
  return std::max(longest, time);
}

}  // namespace vorlanex::tool
