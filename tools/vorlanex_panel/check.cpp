#include "check.h"

#include <cstring>

#include "config/load_configuration.h"
#include "ini_scan.h"
#include "panel_cfg.h"
#include "panel_files.h"
#include "sound_files.h"
#include "table_check.h"

namespace vorlanex::panel {
namespace {

void append(Problems& to, const Problems& from) { to.insert(to.end(), from.begin(), from.end()); }

// The INI file as the module reads it, or nothing with the reason reported.
std::optional<std::string> readIniText(const CheckResult& result, Problems& out) {
  const std::string& path = result.module.iniPath;
  const std::string& file = result.iniFile;
  if (path.empty()) {
    out.push_back({Severity::kError, file, 0, "",
                   "the path is " + std::to_string(file.size()) +
                       " characters long: the module reads no INI file for a path over 135, and "
                       "every default applies"});
    return std::nullopt;
  }
  if (std::strpbrk(path.c_str(), "\\/") == nullptr) {
    out.push_back({Severity::kWarning, file, 0, "",
                   "the path has no folder: Windows looks for it in the Windows directory, not "
                   "in the simulator's folder (write .\\Gauges\\" + path + "); not checked"});
    return std::nullopt;
  }
  std::optional<std::string> text = readPanelFile(path);
  if (!text) {
    out.push_back({Severity::kError, file, 0, "",
                   "cannot read the file: the module takes every default (100 sounds, "
                   "./Sound/zeb/zeb_xml_NN.wav driven by zeb_xml_id_NN)"});
  }
  return text;
}

}  // namespace

CheckResult runCheck(const CheckRequest& request) {
  CheckResult result;
  result.iniFile = request.parameters.empty() ? kDefaultIniPath : request.parameters;
  result.module = readModuleTable(request.parameters);
  const SoundTable& table = result.module.table;

  KeyLines keys;
  if (const std::optional<std::string> text = readIniText(result, result.problems)) {
    IniScan scan = scanIniText(result.iniFile, *text, table);
    append(result.problems, scan.problems);
    keys = std::move(scan.keys);
  }
  append(result.problems, checkSharedVariables(result.iniFile, table, keys));
  if (request.soundFiles) {
    result.soundFiles = readSoundFiles(table);
    append(result.problems, checkSoundFiles(result.iniFile, table, keys, result.soundFiles));
  }

  if (!request.panelConfig.empty()) {
    if (const std::optional<std::string> text = readPanelFile(request.panelConfig)) {
      append(result.problems, checkPanelConfig(request.panelConfig, *text));
    } else {
      result.problems.push_back({Severity::kError, request.panelConfig, 0, "",
                                 "cannot read the panel configuration"});
    }
  }
  return result;
}

}  // namespace vorlanex::panel
