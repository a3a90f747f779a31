// COM-style result codes: negative means failure. DirectSound's own codes
// pass through unchanged.
#pragma once

#include <cstdint>

namespace vorlanex {

using Result = std::int32_t;

constexpr Result kOk = 0;
constexpr Result kFail = static_cast<Result>(0x80004005u);
constexpr Result kOutOfMemory = static_cast<Result>(0x8007000Eu);

}  // namespace vorlanex
