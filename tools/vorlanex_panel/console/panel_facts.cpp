#include "panel_facts.h"

#include "commands/command_value.h"
#include "config/ini_layout.h"
#include "report_text.h"

namespace vorlanex::tool {

PanelFacts panelFacts(const CheckResult& check) {
  const SoundTable& table = check.module.table;
  PanelFacts facts{check.module.iniPath, table.stopAll.varName, {}, {}};
  // A wrong folder, told first as check tells it.
  for (const std::string& cause : check.causes) facts.problems.push_back("first: " + cause);
  for (const Problem& problem : check.problems) facts.problems.push_back(formatProblem(problem));
  for (int i = 0; i < table.soundCount; ++i) {
    SoundFacts sound{table.slots[i].varName, table.slots[i].wavePath,
                     storedVolumePercent(table.slots[i].volume), {}, {}, false, false};
    const auto index = static_cast<std::size_t>(i);
    if (index < check.soundFiles.readings.size()) {
      const SoundFileReading& reading = check.soundFiles.readings[index];
      sound.reading = describeReading(reading);
      sound.missing = reading.outcome == SoundFileReading::Outcome::kMissing;
      sound.playable = reading.outcome == SoundFileReading::Outcome::kRead &&
                       (!reading.offered || reading.device == kOk);
    }
    const std::string keys[] = {indexedKey(ini::kSoundKeyPrefix, i),
                                indexedKey(ini::kVariableKeyPrefix, i)};
    for (const Problem& problem : check.problems) {
      if (problem.key == keys[0] || problem.key == keys[1]) {
        sound.problems.push_back(std::string(severityName(problem.severity)) + ": " +
                                 problem.message);
      }
    }
    facts.sounds.push_back(std::move(sound));
  }
  return facts;
}

}  // namespace vorlanex::tool
