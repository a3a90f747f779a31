// DirectSound's checks of a secondary buffer's description.
#pragma once

#include "sample_format.h"

namespace vorlanex::engine {

struct BufferShape {
  SampleFormat format;
  DWORD flags;
  DWORD bytes;  // the size asked for, rounded up to whole frames
};

// The checks in DirectSound's order: the descriptor's own size, a format
// block, the format (checkWaveFormat), then the size, which must lie in
// 4..0x0FFFFFFF bytes. A primary buffer is not offered (E_NOTIMPL).
HRESULT checkDescriptor(const DSBUFFERDESC* descriptor, BufferShape* shape);

}  // namespace vorlanex::engine
