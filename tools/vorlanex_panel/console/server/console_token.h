// The token of one console run: 128 random bits from the system's source of
// randomness, as 32 hex digits.
#pragma once

#include <string>

namespace vorlanex::tool {

// Throws std::runtime_error when the system gives no random bytes.
std::string consoleToken();

// The bytes as hex digits.
std::string hexText(const unsigned char* bytes, std::size_t size);

}  // namespace vorlanex::tool
