#include "module_table.h"

#include "config/load_configuration.h"
#include "module/gauge_records.h"
#include "panel/status_variables.h"
#include "panel_host.h"

namespace vorlanex::tool {

ModuleTable readModuleTable(const std::string& parameters) {
  // The module registers its variables while it reads, so a host must serve
  // it: one of its own, through a record of its own.
  abi::ImportRecord imports{kPanelsTableId, nullptr, 0, nullptr};
  host::PanelHost host({&Linkage, &imports});
  char path[kIniPathSize];
  chooseIniPath(parameters.c_str(), path);
  ModuleTable result{path, {}};
  readSoundTable(path, result.table, PanelServices(&imports));
  return result;
}

std::vector<std::string> moduleVariables(const SoundTable& table) {
  std::vector<std::string> names;
  for (int i = 0; i < table.soundCount; ++i) names.emplace_back(table.slots[i].varName);
  names.emplace_back(table.stopAll.varName);
  for (const char* status :
       {kVolumePlayedVariable, kMasterVolumeVariable, kSoundIndicatorVariable}) {
    names.emplace_back(status);
  }
  return names;
}

}  // namespace vorlanex::tool
