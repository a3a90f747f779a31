#include "check_report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace vorlanex::panel {
namespace {

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, pattern);
  std::vsnprintf(text, sizeof text, pattern, arguments);
  va_end(arguments);
  return text;
}

std::size_t count(const Problems& problems, Severity severity) {
  return static_cast<std::size_t>(std::count_if(
      problems.begin(), problems.end(), [&](const Problem& p) { return p.severity == severity; }));
}

std::string plural(std::size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

std::string checkText(const CheckResult& result) {
  const SoundTable& table = result.module.table;
  std::string text = "INI file: " + result.iniFile + "\n";
  text += format("sounds: %d   error value: %d   stop-all variable: %s\n\n", table.soundCount,
                 table.errorValue, table.slots[table.soundCount].varName);
  if (table.soundCount > 0) text += "slot  variable                        volume  WAV file\n";
  for (int i = 0; i < table.soundCount; ++i) {
    const SoundSlot& slot = table.slots[i];
    text += format("  %02d  %-30s  %5.0f%%  %s\n", i, slot.varName, volumePercent(slot.volume),
                   slot.wavePath);
  }
  if (!result.problems.empty()) text += "\n";
  for (const Problem& problem : result.problems) text += formatProblem(problem) + "\n";
  text += "\n" + plural(count(result.problems, Severity::kError), "error") + ", " +
          plural(count(result.problems, Severity::kWarning), "warning") + "\n";
  return text;
}

std::string checkJson(const CheckResult& result) {
  const SoundTable& table = result.module.table;
  nlohmann::json slots = nlohmann::json::array();
  for (int i = 0; i < table.soundCount; ++i) {
    const SoundSlot& slot = table.slots[i];
    slots.push_back({{"index", i},
                     {"variable", slot.varName},
                     {"wav", slot.wavePath},
                     {"volumePercent", volumePercent(slot.volume)}});
  }
  nlohmann::json problems = nlohmann::json::array();
  for (const Problem& p : result.problems) {
    problems.push_back({{"severity", severityName(p.severity)},
                        {"file", p.file},
                        {"line", p.line},
                        {"key", p.key},
                        {"message", p.message}});
  }
  const nlohmann::json document = {
      {"iniFile", result.iniFile},
      {"soundCount", table.soundCount},
      {"errorValue", table.errorValue},
      {"stopAllVariable", table.slots[table.soundCount].varName},
      {"slots", slots},
      {"problems", problems},
      {"errors", count(result.problems, Severity::kError)},
      {"warnings", count(result.problems, Severity::kWarning)},
  };
  // Panel files may hold any bytes; JSON must stay valid UTF-8.
  return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace vorlanex::panel
