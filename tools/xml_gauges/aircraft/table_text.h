// The aircraft's tables as the build embedded them (aircraft/tables/*.tsv):
// tab-separated, the first line naming the columns.
#pragma once

#include <string_view>

namespace vorlanex::gauges {

std::string_view variablesTableText();
std::string_view eventsTableText();
std::string_view unitsTableText();

}  // namespace vorlanex::gauges
