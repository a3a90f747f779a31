// The cells of a tab-separated table, and the numbers its cells write.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace vorlanex::gauges {

// Each line after the first (the column names) as its cells; empty lines left out.
std::vector<std::vector<std::string_view>> tableRows(std::string_view text);

// The cell of `row` at `column`, empty when the row is shorter.
std::string_view cell(const std::vector<std::string_view>& row, std::size_t column);

// The text without blanks around it.
std::string_view trimmed(std::string_view text);

// A number as the tables write one: "29.92", "-1", "1e-06", "0x2280"; a
// trailing '?' (a guess) is allowed. Nothing for anything else.
std::optional<double> tableNumber(std::string_view text);

}  // namespace vorlanex::gauges
