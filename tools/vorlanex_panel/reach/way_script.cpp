#include "way_script.h"

#include <cstdlib>

#include "panel/status_variables.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

// Short where the short form reads back the same number, else every digit.
std::string stepLine(const Step& step) {
  const std::string text = stepText(step, Digits::kShort);
  if (step.action != Action::kSet) return text;
  return std::strtod(shortNumber(step.value).c_str(), nullptr) == step.value ? text : stepText(step, Digits::kExact);
}

// A bare name where the script language reads one, else the gauges' form.
std::string scriptVariable(const std::string& name) {
  if (name.find_first_of(" \t()#\"") == std::string::npos) return name;
  return "(L:" + name + ", number)";
}

}  // namespace

std::string wayScript(const ReachedSound& reached, const std::vector<Move>& moves,
                      const std::string& variable, const std::string& panelShown, double framesPerSecond) {
  std::string out = "# The shortest way to play " + variable + " that vorlanex-panel reach found, in " +
                    std::to_string(reached.way.steps.size()) + (reached.way.steps.size() == 1 ? " move" : " moves") +
                    ".\n# Run it from the simulator's root folder:\n#   vorlanex-panel run --panel " + panelShown +
                    " " + wayScriptName(variable) + "\n";
  const std::vector<std::vector<Step>> frames = wayFrames(reached.way, moves);
  for (std::size_t f = 0; f < frames.size(); ++f) {
    for (const Step& step : frames[f]) {
      out += "at " + frameTimeText(static_cast<double>(f) / framesPerSecond) + " " + stepLine(step) + "\n";
    }
  }
  const std::string when = frameTimeText((reached.start.frame + 1) / framesPerSecond);
  out += "# the module started it in the frame before\n";
  out += "at " + when + " expect " + scriptVariable(variable) + " " + shortNumber(reached.start.held) + "\n";
  out += "at " + when + " expect " + std::string(kVolumePlayedVariable) + " " + shortNumber(reached.start.volume) + "\n";
  return out;
}

std::string wayScriptName(const std::string& variable) {
  std::string name = "reach_";
  for (const char c : variable) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                       c == '-' || c == '.';
    name += plain ? c : '_';
  }
  return name + ".txt";
}

}  // namespace vorlanex::tool
