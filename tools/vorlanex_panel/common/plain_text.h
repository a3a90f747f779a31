// Small text helpers the tool's readers share.
#pragma once

#include <string>
#include <string_view>

namespace vorlanex::tool {

// `text` without the blanks (spaces, tabs, line ends) at either end.
std::string_view trimBlanks(std::string_view text);

// `text` in ASCII lower case, as Windows compares names.
std::string lowerCase(std::string_view text);

}  // namespace vorlanex::tool
