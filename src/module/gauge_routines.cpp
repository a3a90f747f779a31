#include "module/gauge_routines.h"

#include "module/gauge_records.h"
#include "panel/host_panels.h"

namespace vorlanex {
namespace {

abi::ElementHeader* firstElement() { return soundGaugeHeader.elementList[0]; }

}  // namespace

void GAUGE_CALL gaugeQuery() { callElementRoutine(abi::kElementQuery, firstElement()); }

void GAUGE_CALL gaugeInstall(std::uint32_t value) {
  callElementRoutine(abi::kElementInstall, firstElement(), value);
}

void GAUGE_CALL gaugeInitialize() { callElementRoutine(abi::kElementInitialize, firstElement()); }

void GAUGE_CALL gaugeUpdate() { callElementRoutine(abi::kElementUpdate, firstElement()); }

void GAUGE_CALL gaugeGenerate(std::uint32_t value) {
  callElementRoutine(abi::kElementGenerate, firstElement(), value);
}

void GAUGE_CALL gaugeDraw() { callElementRoutine(abi::kElementDraw, firstElement()); }

void GAUGE_CALL gaugeKill() { callElementRoutine(abi::kElementKill, firstElement()); }

}  // namespace vorlanex
