#include <time.h>

#include <cerrno>

#include "platform/window_and_sleep.h"

namespace vorlanex::platform {
namespace {

// Counted for tests, which tell that a pause happened without timing it.
std::uint32_t sleeps = 0;

}  // namespace

// Natively no simulator runs: there is never a window.
void* findTopLevelWindow(const char*) { return nullptr; }

void sleepMilliseconds(std::uint32_t milliseconds) {
  ++sleeps;
  timespec left{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

std::uint32_t sleepsSoFar() { return sleeps; }

}  // namespace vorlanex::platform
