// A buffer's sample format, as the engine understands it once the wave
// format block has passed DirectSound's checks.
#pragma once

#include <cstdint>

#include "vorlanex_engine/dsound.h"

namespace vorlanex::engine {

enum class Encoding { Unsigned8, Signed16, Signed24, Signed32, Float32 };

struct SampleFormat {
  Encoding encoding;
  unsigned channels;    // 1 or 2
  std::uint32_t rate;   // frames per second
  unsigned blockAlign;  // bytes per frame
};

// DirectSound's checks of a wave format block, in its order; on success
// fills `format`. Codes: E_NOTIMPL for a format tag or sub-format other than
// PCM and IEEE float; DSERR_INVALIDPARAM for inconsistent fields, plain
// formats of more than 2 channels, or an extensible block too short;
// DSERR_BADFORMAT for a well-formed format this engine cannot play (sample
// widths other than 8, 16, 24, 32 bits PCM or 32 bits float, more than 2
// channels, a rate outside DSBFREQUENCY_MIN..DSBFREQUENCY_MAX).
HRESULT checkWaveFormat(const WAVEFORMATEX& wave, SampleFormat* format);

// The byte a silent sample is made of: 0x80 for 8-bit, 0 otherwise.
inline std::uint8_t silenceByte(Encoding encoding) {
  return encoding == Encoding::Unsigned8 ? 0x80 : 0;
}

}  // namespace vorlanex::engine
