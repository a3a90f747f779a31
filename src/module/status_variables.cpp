#include "module/status_variables.h"

#include "module/host_panels.h"

namespace vorlanex {

void registerStatusVariables() {
  registerNamedVariable(kVolumePlayedVariable);
  registerNamedVariable(kMasterVolumeVariable);
  registerNamedVariable(kSoundIndicatorVariable);
}

}  // namespace vorlanex
