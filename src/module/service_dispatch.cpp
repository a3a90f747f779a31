#include "audio/audio_device.h"
#include "commands/command_scan.h"
#include "commands/host_module.h"
#include "commands/release_sounds.h"
#include "config/load_configuration.h"
#include "module/gauge_routines.h"
#include "panel/status_variables.h"

namespace vorlanex {

void GAUGE_CALL gaugeService(abi::GaugeHeader* gauge, std::int32_t service,
                             std::uint32_t /*extraData*/) {
  switch (service) {
    case abi::kPreInstall:
      openDevice();
      takeHostModuleHandle();
      break;
    case abi::kPostInstall:
      loadConfiguration(gauge);
      break;
    case abi::kPreUpdate:
      scanCommands();
      break;
    case abi::kConnectToWindow:
      registerStatusVariables();
      break;
    case abi::kDisconnect:
      releaseAllSounds();
      break;
    default:
      break;
  }
}

}  // namespace vorlanex
