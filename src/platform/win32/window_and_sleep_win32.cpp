#include "platform/window_and_sleep.h"

#include "windows_headers.h"

namespace vorlanex::platform {
namespace {

// Counted for tests, which tell that a pause happened without timing it.
std::uint32_t sleeps = 0;

}  // namespace

void* findTopLevelWindow(const char* className) {
  return reinterpret_cast<void*>(FindWindowA(className, nullptr));
}

void sleepMilliseconds(std::uint32_t milliseconds) {
  ++sleeps;
  Sleep(milliseconds);
}

std::uint32_t sleepsSoFar() { return sleeps; }

}  // namespace vorlanex::platform
