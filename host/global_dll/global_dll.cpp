// Stand-in for the simulator's "GLOBAL.DLL": all the sound module reads of it
// is a 32-bit sound switch a fixed number of bytes past its `Linkage` export.
#include <cstddef>
#include <cstdint>

#include "gauge_call.h"
#include "panel/global_dll.h"

namespace {

struct GlobalLinkage {
  unsigned char before[vorlanex::kSoundSwitchOffset];
  std::uint32_t soundSwitch;  // 1 sound on, 0 sound off
  unsigned char after[12];
};

static_assert(offsetof(GlobalLinkage, soundSwitch) == vorlanex::kSoundSwitchOffset);

}  // namespace

// The simulator starts with its sound on.
extern "C" {
GAUGE_EXPORT GlobalLinkage Linkage = {{}, 1, {}};
}
