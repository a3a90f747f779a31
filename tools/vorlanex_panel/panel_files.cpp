#include "panel_files.h"

#include <algorithm>

#include "check.h"
#include "wave_files.h"
#include "windows_files.h"

namespace vorlanex::tool {
namespace {

void addOnce(std::vector<std::string>& paths, const std::string& path) {
  if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
}

}  // namespace

void RunFiles::follow(const std::string& path) { addOnce(read, path); }

// An XML gauge not even read leniently, an INI or a WAV file the module
// errs on cannot be read.
void collectPanelFiles(const std::string& panelConfig, const std::optional<PanelSetup>& panel,
                       const std::string& parameters, const ModuleTable& table, RunFiles& files) {
  if (panel) {
    files.follow(panelConfig);
    for (const FoundGauge& gauge : panel->found) {
      if (gauge.file.empty()) continue;
      files.follow(gauge.file);
      if (!gauge.unreadable) continue;
      addOnce(files.unreadable, gauge.file);
      for (const Problem& p : panel->problems) {
        if (p.file == gauge.where) files.findings.push_back(p);
      }
    }
  }
  const std::string ini = findPanelFile(table.iniPath).value_or(table.iniPath);
  files.follow(ini);
  // The INI's own errors; a WAV file's missing folder is none of a save's.
  CheckRequest check;
  check.parameters = parameters;
  check.soundFiles = false;
  for (const Problem& p : runCheck(check).problems) {
    if (p.severity != Severity::kError) continue;
    addOnce(files.unreadable, ini);
    files.findings.push_back(p);
  }
  // A WAV file the module's reader refuses, or one cut short in its samples.
  const SoundFiles waves = readSoundFiles(table.table);
  for (std::size_t i = 0; i < waves.readings.size(); ++i) {
    const std::string named = table.table.slots[i].wavePath;
    const std::string wave = findPanelFile(named).value_or(named);
    files.follow(wave);
    const SoundFileReading& reading = waves.readings[i];
    if (reading.outcome == SoundFileReading::Outcome::kUnreadable ||
        (reading.outcome == SoundFileReading::Outcome::kRead && reading.heldBytes < reading.dataBytes)) {
      addOnce(files.unreadable, wave);
      files.findings.push_back({Severity::kError, named, 0, "", describeReading(reading)});
    }
  }
}

}  // namespace vorlanex::tool
