// A run's record as JSON, for programs: every write with its writer, every
// step carried out, every simulator event sent.
#pragma once

#include <nlohmann/json.hpp>

#include "run_record.h"

namespace vorlanex::tool {

// {"framesPerSecond", "frames", "writes", "steps", "sentEvents",
//  "expectations": {"held", "failed"}}
nlohmann::json runJson(const RunRecord& record);

nlohmann::json writerJson(const Writer& writer);

}  // namespace vorlanex::tool
