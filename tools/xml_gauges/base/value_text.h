// Numbers read from texts and written as texts, the same on every build and
// in every locale.
#pragma once

#include <string_view>

namespace vorlanex::gauges {

// The whole text as a number ("12", "-0.5", "3e2"); false for anything else.
bool parseNumber(std::string_view text, double& value);

// A text's leading number, after blanks; 0 when it starts with none:
// "12abc" reads 12, "abc" reads 0.
double numberPrefix(std::string_view text);

// The shortest text that reads back as the number: "2", "0.25", "-1e+300".
// `buffer` holds at least 32 characters; the text stands in it.
std::string_view numberText(double value, char* buffer);

}  // namespace vorlanex::gauges
