#include "check_report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "commands/command_value.h"
#include "findings_summary.h"
#include "panel_report.h"

namespace vorlanex::tool {
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

nlohmann::json readingJson(const SoundFileReading& reading) {
  switch (reading.outcome) {
    case SoundFileReading::Outcome::kMissing:
      return {{"state", "missing"}};
    case SoundFileReading::Outcome::kUnreadable:
      return {{"state", "unreadable"}, {"reason", describeOpenFailure(reading.failure)}};
    case SoundFileReading::Outcome::kRead:
      break;
  }
  const WaveFormat& f = reading.format;
  nlohmann::json read = {{"state", "read"},
                         {"formatTag", f.wFormatTag},
                         {"channels", f.nChannels},
                         {"samplesPerSecond", f.nSamplesPerSec},
                         {"bitsPerSample", f.wBitsPerSample},
                         {"blockAlign", f.nBlockAlign},
                         {"dataBytes", reading.dataBytes}};
  if (reading.heldBytes < reading.dataBytes) read["heldBytes"] = reading.heldBytes;
  return read;
}

std::string plural(std::size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

std::string checkText(const CheckResult& result) {
  const SoundTable& table = result.module.table;
  std::string text;
  for (const std::string& cause : result.causes) text += "first: " + cause + "\n";
  text += "INI file: " + result.iniFile + "\n";
  text += format("sounds: %d   error value: %d   stop-all variable: %s\n\n", table.soundCount,
                 table.errorValue, table.stopAll.varName);
  if (!result.iniRead) {
    // Every slot is the default: one line says them all.
    text += "every sound as the module takes it without an INI file: " + defaultsText() + "\n";
  } else if (table.soundCount > 0) {
    text += "slot  variable                        volume  WAV file\n";
  }
  const std::vector<SoundFileReading>& readings = result.soundFiles.readings;
  for (int i = 0; result.iniRead && i < table.soundCount; ++i) {
    const SoundSlot& slot = table.slots[i];
    // As the module reports it in "zeb_volume_played" when the sound starts.
    text += format("  %02d  %-30s  %5d%%  %s\n", i, slot.varName, storedVolumePercent(slot.volume),
                   slot.wavePath);
    // What the module's reader makes of the file, beneath it.
    if (static_cast<std::size_t>(i) < readings.size()) {
      text += "      " + describeReading(readings[static_cast<std::size_t>(i)]) + "\n";
    }
  }
  if (result.panel) text += "\n" + panelText(*result.panel, table);
  if (!result.problems.empty()) text += "\n";
  for (const Problem& problem : result.problems) text += formatProblem(problem) + "\n";
  if (result.panel && !result.problems.empty()) {
    text += "\n" + summaryText(*result.panel, result.problems);
  }
  text += "\n" + plural(count(result.problems, Severity::kError), "error") + ", " +
          plural(count(result.problems, Severity::kWarning), "warning");
  if (const std::size_t notes = count(result.problems, Severity::kNote)) {
    text += ", " + plural(notes, "note");
  }
  text += "\n";
  return text;
}

std::string checkJson(const CheckResult& result) {
  const SoundTable& table = result.module.table;
  nlohmann::json slots = nlohmann::json::array();
  for (int i = 0; i < table.soundCount; ++i) {
    const SoundSlot& slot = table.slots[i];
    nlohmann::json entry = {{"index", i},
                            {"variable", slot.varName},
                            {"wav", slot.wavePath},
                            {"volumePercent", storedVolumePercent(slot.volume)}};
    const auto index = static_cast<std::size_t>(i);
    if (index < result.soundFiles.readings.size()) {
      entry["wavFile"] = readingJson(result.soundFiles.readings[index]);
    }
    slots.push_back(entry);
  }
  nlohmann::json problems = nlohmann::json::array();
  for (const Problem& p : result.problems) {
    problems.push_back({{"severity", severityName(p.severity)},
                        {"file", p.file},
                        {"line", p.line},
                        {"key", p.key},
                        {"message", p.message}});
  }
  nlohmann::json document = {
      {"causes", result.causes},
      {"iniFile", result.iniFile},
      {"iniRead", result.iniRead},
      {"soundCount", table.soundCount},
      {"errorValue", table.errorValue},
      {"stopAllVariable", table.stopAll.varName},
      {"slots", slots},
      {"problems", problems},
      {"errors", count(result.problems, Severity::kError)},
      {"warnings", count(result.problems, Severity::kWarning)},
      {"notes", count(result.problems, Severity::kNote)},
  };
  if (result.panel) {
    document["panel"] = panelJson(*result.panel, table);
    document["panel"]["summary"] = summaryJson(*result.panel, result.problems);
  }
  // Panel files may hold any bytes; JSON must stay valid UTF-8.
  return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace vorlanex::tool
