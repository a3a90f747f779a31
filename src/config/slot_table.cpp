#include "config/slot_table.h"

namespace vorlanex {

SoundTable soundTable = {kMaxSounds, 0, {}};

}  // namespace vorlanex
