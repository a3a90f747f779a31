// DirectSound's volume and pan law.
#pragma once

#include "vorlanex_engine/dsound.h"

namespace vorlanex::engine {

struct ChannelGains {
  float left;
  float right;
};

// Volume and pan in hundredths of a decibel. Pan attenuates only the far
// channel; the near one stays at the volume, so there is no dip at the
// centre: left = volume - max(pan, 0), right = volume + min(pan, 0), and an
// amplitude of 10^(gain / 2000), silence at -10000 and below.
ChannelGains channelGains(LONG volume, LONG pan);

}  // namespace vorlanex::engine
