// Stand-in for the simulator's "GLOBAL.DLL": all the sound module reads of it
// is a 32-bit sound switch 2848 bytes past its `Linkage` export.
#include <cstddef>
#include <cstdint>

#include "gauge_call.h"

namespace {

struct GlobalLinkage {
  unsigned char before[2848];
  std::uint32_t soundSwitch;  // 1 sound on, 0 sound off
  unsigned char after[12];
};

static_assert(offsetof(GlobalLinkage, soundSwitch) == 0xB20);

}  // namespace

// The simulator starts with its sound on.
extern "C" {
GAUGE_EXPORT GlobalLinkage Linkage = {{}, 1, {}};
}
