// The module's face to the simulator: the exported `Linkage` record and the one
// gauge, "sound", with its single static image element.
#pragma once

#include "panel/gauge_abi.h"
#include "panel/import_table.h"

extern "C" {
GAUGE_EXPORT extern vorlanex::abi::ModuleLinkage Linkage;
}

namespace vorlanex {

extern abi::GaugeHeader soundGaugeHeader;
extern abi::StaticImageElement soundGaugeImage;

// Values the simulator reads from the records.
constexpr abi::Word kModuleId = 0x13;
constexpr abi::Word kModuleVersion = 0x900;
constexpr abi::Word kGaugeHeaderVersion = 800;
constexpr abi::Word kGaugeWidthMm = 20;
constexpr abi::Word kStaticImageElement = 0;
constexpr abi::Word kGaugeBitmapId = 256;
// Bits 0, 1 and 7 of the image flags.
constexpr abi::Word kGaugeImageFlags = 0x83;

}  // namespace vorlanex
