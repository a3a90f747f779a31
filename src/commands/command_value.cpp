#include "commands/command_value.h"

namespace vorlanex {

std::int32_t bufferVolumeToPercent(std::int32_t hundredths) { return hundredths / 100 + 100; }

}  // namespace vorlanex
