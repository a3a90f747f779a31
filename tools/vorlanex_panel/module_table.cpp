#include "module_table.h"

#include "config/load_configuration.h"
#include "module/gauge_records.h"
#include "panel_host.h"

namespace vorlanex::panel {

ModuleTable readModuleTable(const std::string& parameters) {
  // The module registers its variables while it reads, so a host must serve it.
  host::PanelHost host({&Linkage, &ImportTable});
  char path[kIniPathSize];
  chooseIniPath(parameters.c_str(), path);
  ModuleTable result{path, {}};
  readSoundTable(path, result.table);
  return result;
}

double volumePercent(float volume) { return static_cast<double>(volume) / 100.0 + 100.0; }

}  // namespace vorlanex::panel
