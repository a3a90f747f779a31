// A run's record as JSON, for programs: every write with its writer, every
// step carried out, every simulator event sent, every text a gauge's
// <String> came to show.
#pragma once

#include <nlohmann/json.hpp>

#include "run_record.h"

namespace vorlanex::tool {

// {"framesPerSecond", "frames", "writes", "steps", "sentEvents", "strings",
//  "expectations": {"held", "failed"}}
nlohmann::json runJson(const RunRecord& record);

nlohmann::json writerJson(const Writer& writer);

}  // namespace vorlanex::tool
