#include "module/gauge_records.h"

#include "module/gauge_routines.h"

namespace vorlanex {
namespace {

// Loading and unloading the module runs nothing of its own: all work happens
// in the service callback.
void GAUGE_CALL moduleInit() {}
void GAUGE_CALL moduleDeinit() {}

abi::ElementHeader* const soundGaugeElements[2] = {&soundGaugeImage, nullptr};

}  // namespace

abi::StaticImageElement soundGaugeImage = {
    kStaticImageElement,
    kGaugeBitmapId,
    {},
    &soundGaugeHeader,
    nullptr,
    nullptr,
    nullptr,
    kGaugeImageFlags,
    {},
};

abi::GaugeHeader soundGaugeHeader = {
    kGaugeHeaderVersion,
    "sound",
    soundGaugeElements,
    gaugeQuery,
    gaugeInstall,
    gaugeInitialize,
    gaugeUpdate,
    gaugeGenerate,
    gaugeDraw,
    gaugeKill,
    0,
    kGaugeWidthMm,
    {},
    gaugeService,
    0,
    nullptr,
    {},
};

}  // namespace vorlanex

extern "C" {

vorlanex::abi::ModuleLinkage Linkage = {
    vorlanex::kModuleId,
    vorlanex::moduleInit,
    vorlanex::moduleDeinit,
    0,
    0,
    vorlanex::kModuleVersion,
    {&vorlanex::soundGaugeHeader, nullptr},
};
}
