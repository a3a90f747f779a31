#include "module/service_dispatch.h"

#include "commands/command_scan.h"
#include "commands/simulator_switch.h"
#include "commands/sound_device.h"
#include "config/load_configuration.h"
#include "module/gauge_routines.h"
#include "panel/import_table.h"
#include "panel/status_variables.h"

namespace vorlanex {
namespace {

// The loaded module's one state, served through its exported ImportTable.
ModuleState& loadedModuleState() {
  static ModuleState state(&ImportTable);
  return state;
}

// Later post-installs do nothing, whatever their gauge says: the table is
// read once per load of the module.
void configureOnce(ModuleState& state, const abi::GaugeHeader* gauge) {
  if (state.configured != 0) return;
  state.configured = 1;
  chooseIniPath(gauge != nullptr ? gauge->parameters : nullptr, state.iniPath);
  readSoundTable(state.iniPath, state.table, state.panel);
}

}  // namespace

void serveModule(ModuleState& state, const abi::GaugeHeader* gauge, std::int32_t service) {
  switch (service) {
    case abi::kPreInstall:
      // A module without a device still runs: its sounds report that they
      // cannot play.
      openSoundDevice(state);
      findGlobalDll(state.simulator);
      break;
    case abi::kPostInstall:
      configureOnce(state, gauge);
      break;
    case abi::kPreUpdate:
      scanCommands(state);
      break;
    case abi::kConnectToWindow:
      registerStatusVariables(state.panel);
      break;
    case abi::kDisconnect:
      releaseAllSounds(state);
      break;
    default:
      break;
  }
}

void GAUGE_CALL gaugeService(abi::GaugeHeader* gauge, std::int32_t service,
                             std::uint32_t /*extraData*/) {
  serveModule(loadedModuleState(), gauge, service);
}

}  // namespace vorlanex
