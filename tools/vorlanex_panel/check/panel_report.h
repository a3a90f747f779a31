// check's section on the panel: the gauges found, and who writes and reads
// each sound's variable.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "check.h"

namespace vorlanex::tool {

std::string panelText(const PanelCheck& panel, const SoundTable& table);
nlohmann::json panelJson(const PanelCheck& panel, const SoundTable& table);

}  // namespace vorlanex::tool
