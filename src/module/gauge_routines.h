// The gauge's seven standard routines and its service callback.
#pragma once

#include <cstdint>

#include "panel/gauge_abi.h"

namespace vorlanex {

// Each standard routine forwards to the host's element-list routine of the
// same name, with the gauge's first element.
void GAUGE_CALL gaugeQuery();
void GAUGE_CALL gaugeInstall(std::uint32_t value);
void GAUGE_CALL gaugeInitialize();
void GAUGE_CALL gaugeUpdate();
void GAUGE_CALL gaugeGenerate(std::uint32_t value);
void GAUGE_CALL gaugeDraw();
void GAUGE_CALL gaugeKill();

// The host drives all of the module's work through this callback. Service
// codes other than pre-install, post-install, pre-update, connect to window
// and disconnect are ignored.
void GAUGE_CALL gaugeService(abi::GaugeHeader* gauge, std::int32_t service,
                             std::uint32_t extraData);

}  // namespace vorlanex
