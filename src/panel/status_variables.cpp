#include "panel/status_variables.h"

namespace vorlanex {

void registerStatusVariables(const PanelServices& panel) {
  panel.registerName(kVolumePlayedVariable);
  panel.registerName(kMasterVolumeVariable);
  panel.registerName(kSoundIndicatorVariable);
}

}  // namespace vorlanex
