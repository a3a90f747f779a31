#include "check.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "config/ini_layout.h"
#include "config/load_configuration.h"
#include "ini_path_rules.h"
#include "ini_scan.h"
#include "panel_at_rest.h"
#include "panel_cfg.h"
#include "panel_gauges.h"
#include "reach_panel.h"
#include "report_text.h"
#include "cross_check.h"
#include "text_encoding.h"
#include "windows_files.h"
#include "wave_files.h"
#include "sound_variable_sharing.h"

namespace vorlanex::tool {
namespace {

void append(Problems& to, const Problems& from) { to.insert(to.end(), from.begin(), from.end()); }

// A default's printf format for sound NN, as people read it: "zeb_xml_id_NN".
std::string forEverySound(const char* format) {
  std::string text = format;
  text.replace(text.find("%02d"), 4, "NN");
  return text;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string folderCause(const std::string& iniPath) {
  return "cannot read the INI file " + quoted(iniPath) + " in " +
         std::filesystem::current_path().string() +
         ": INI paths are taken from the simulator's root folder (the one that holds Gauges "
         "and Sound); start the tool there or name it with --root";
}

// The INI file as the module reads it, or nothing with the reason reported.
std::optional<std::string> readIniText(CheckResult& result, Problems& out) {
  const std::string& path = result.module.iniPath;
  const std::string& file = result.iniFile;
  // The path the module was given; the module's own is "" for one too long.
  if (const std::optional<PathProblem> problem = iniPathProblem(path.empty() ? file : path)) {
    out.push_back({problem->severity, file, 0, "",
                   problem->message + (problem->severity == Severity::kError ? "" : "; not checked")});
    return std::nullopt;
  }
  std::optional<std::string> text = readPanelFile(path);
  if (!text) {
    result.causes.push_back(folderCause(path));
    out.push_back({Severity::kError, file, 0, "",
                   "cannot read the file: the module takes every default (" + defaultsText() + ")"});
  }
  return text;
}

// The INI file asked for, else the one of the panel's first line of the
// module, as the module would take it.
std::string parametersOf(const CheckRequest& request, const std::optional<std::string>& panel) {
  if (request.parameters) return *request.parameters;
  return panel ? moduleParameters(*panel) : "";
}

// The gauge library reads each gauge again: a file that does not parse is
// told once, by the reading above, not again at the same line.
Problems withoutToldLines(Problems problems, const Problems& told) {
  problems.erase(std::remove_if(problems.begin(), problems.end(),
                                [&](const Problem& p) {
                                  return std::any_of(told.begin(), told.end(), [&](const Problem& t) {
                                    return t.file == p.file && t.line == p.line;
                                  });
                                }),
                 problems.end());
  return problems;
}

// The bitmaps beside each gauge line's XML gauge (none beside the panel's windows).
gauges::ImageBytes bitmapsBeside(const PanelGauges& found) {
  return [&found](int gauge, const std::string& name) -> std::optional<std::string> {
    if (gauge < 0) return std::nullopt;
    return readBesideGauge(found.gauges.at(static_cast<size_t>(gauge)), name);
  };
}

// The sounds the search over the panel's gauges never heard played, each at
// the script line its reason points at, else at its key in the INI file.
Problems unreachedSounds(const std::string& panelText, const PanelGauges& found, const std::string& parameters,
                         const SoundTable& table, const KeyLines& keys, const std::string& iniFile,
                         const std::string& globalDllPath) {
  const PanelReach reach =
      reachPanel(panelGaugeSet(panelText, found), panelText, parameters, table, globalDllPath, SearchLimits{});
  Problems problems;
  for (const SoundVerdict& v : reach.verdicts.sounds) {
    if (v.reached) continue;
    const std::string key = indexedKey(ini::kVariableKeyPrefix, v.sound);
    const bool atScript = !v.file.empty();
    problems.push_back({Severity::kWarning, atScript ? v.file : iniFile, atScript ? v.line : keys.lineOf(key), key,
                        "'" + v.variable + "' is never played by anything the pilot does: " + v.reason});
  }
  return problems;
}

}  // namespace

std::string defaultsText() {
  return std::string(ini::kDefaultMaxSounds) + " sounds, " +
         forEverySound(ini::kDefaultWavePathFormat) + " driven by " +
         forEverySound(ini::kDefaultVariableFormat);
}

std::string unreadableIniCause(const std::string& parameters) {
  char path[kIniPathSize];
  chooseIniPath(parameters.c_str(), path);
  if (iniPathProblem(path[0] == '\0' ? parameters : path)) return "";
  return readPanelFile(path) ? "" : folderCause(path);
}

std::string unreadablePanelCause(const std::string& shown, const std::string& lookedAt) {
  return "cannot read the panel configuration " + quoted(shown) + " (looked for at " + lookedAt +
         "): a panel.cfg path is taken from the folder the tool is started in";
}

CheckResult runCheck(const CheckRequest& request) {
  CheckResult result;
  const std::string shownPanel =
      request.panelShown.empty() ? request.panelConfig : request.panelShown;
  std::optional<std::string> panelText;
  if (!request.panelConfig.empty()) {
    panelText = readPanelFile(request.panelConfig);
    if (!panelText) {
      result.problems.push_back(
          {Severity::kError, shownPanel, 0, "", "cannot read the panel configuration"});
      result.causes.push_back(unreadablePanelCause(shownPanel, request.panelConfig));
    } else {
      DecodedText decoded = decodeText(*std::move(panelText));
      panelText = std::move(decoded.text);
      if (!decoded.problem.empty()) {
        result.problems.push_back({Severity::kError, shownPanel, 0, "",
                                   "cannot read the panel configuration: " + decoded.problem});
        panelText.reset();
      }
    }
  }
  const std::string parameters = parametersOf(request, panelText);
  result.iniFile = parameters.empty() ? kDefaultIniPath : parameters;
  result.module = readModuleTable(parameters);
  const SoundTable& table = result.module.table;

  KeyLines keys;
  if (const std::optional<std::string> text = readIniText(result, result.problems)) {
    result.iniRead = true;
    IniScan scan = scanIniText(result.iniFile, *text, table);
    append(result.problems, scan.problems);
    keys = std::move(scan.keys);
  }
  append(result.problems, checkSharedVariables(result.iniFile, table, keys));
  if (request.soundFiles) {
    result.soundFiles = readSoundFiles(table);
    append(result.problems, checkSoundFiles(result.iniFile, table, keys, result.soundFiles));
  }

  if (panelText) {
    append(result.problems, checkPanelConfig(shownPanel, *panelText));
    PanelCheck panel{shownPanel, findPanelGauges(request.panelConfig, shownPanel, *panelText)};
    append(result.problems, panel.gauges.problems);
    append(result.problems,
           crossCheckPanel(result.iniFile, table, keys, panel.gauges.uses));
    append(result.problems,
           withoutToldLines(runPanelAtRest(panelGaugeSet(*panelText, panel.gauges), parameters, table,
                                           request.globalDllPath, bitmapsBeside(panel.gauges)),
                            panel.gauges.problems));
    if (request.reach) append(result.problems, unreachedSounds(*panelText, panel.gauges, parameters, table,
                                                               keys, result.iniFile, request.globalDllPath));
    result.panel = std::move(panel);
  }
  return result;
}

}  // namespace vorlanex::tool
