#include "gain.h"

#include <algorithm>
#include <cmath>

namespace vorlanex::engine {
namespace {

float amplitude(LONG hundredthsOfDecibel) {
  if (hundredthsOfDecibel <= DSBVOLUME_MIN) return 0.0f;
  return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

}  // namespace

ChannelGains channelGains(LONG volume, LONG pan) {
  return {amplitude(volume - std::max<LONG>(pan, 0)), amplitude(volume + std::min<LONG>(pan, 0))};
}

}  // namespace vorlanex::engine
