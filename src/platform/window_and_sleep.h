// Window and sleep seam: FindWindowA and Sleep on the win32 build; natively
// there is no simulator window and a sleep is nanosleep.
#pragma once

#include <cstdint>

namespace vorlanex::platform {

// The top-level window of the given class (any title), or null.
void* findTopLevelWindow(const char* className);

// Pauses the calling thread. Every pause is counted, so a test can tell that
// a wait happened without timing it.
void sleepMilliseconds(std::uint32_t milliseconds);
std::uint32_t sleepsSoFar();

}  // namespace vorlanex::platform
