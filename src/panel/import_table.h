// The exported `ImportTable`: the list of host tables the module asks for.
// The host writes the address of its panel function table into it before it
// calls any routine of the module; every panel service goes through it.
#pragma once

#include "panel/gauge_abi.h"

extern "C" {
GAUGE_EXPORT extern vorlanex::abi::ImportRecord ImportTable;
}

namespace vorlanex {

constexpr abi::Word kPanelsTableId = 0x0F;

}  // namespace vorlanex
