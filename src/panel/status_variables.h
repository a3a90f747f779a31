// The panel variables through which the module reports its state to XML gauges.
#pragma once

#include "panel/host_panels.h"

namespace vorlanex {

// Volume, in percent, of the sound last started.
constexpr const char* kVolumePlayedVariable = "zeb_volume_played";
// Master volume in percent: read by the apply-volume command, written by the
// report-volume command.
constexpr const char* kMasterVolumeVariable = "zeb_xml_sound_volume";
// The simulator's own sound switch, mirrored.
constexpr const char* kSoundIndicatorVariable = "zeb_sound_indicator";

// Registers the three status variables so XML gauges see them from the moment
// the gauge is connected to its window. The ids are not kept: the per-frame
// code looks each name up again before every use.
void registerStatusVariables(const PanelServices& panel);

}  // namespace vorlanex
