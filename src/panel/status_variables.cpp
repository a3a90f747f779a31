#include "panel/status_variables.h"

#include "panel/host_panels.h"

namespace vorlanex {

void registerStatusVariables() {
  registerNamedVariable(kVolumePlayedVariable);
  registerNamedVariable(kMasterVolumeVariable);
  registerNamedVariable(kSoundIndicatorVariable);
}

}  // namespace vorlanex
