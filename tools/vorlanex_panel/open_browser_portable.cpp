#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

#include "open_browser.h"

extern char** environ;

namespace vorlanex::tool {

// xdg-open on a desktop; a console without one (a server, a test) has no
// browser to open.
bool openInBrowser(const std::string& address) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) return false;
  std::string program = "xdg-open";
  std::string argument = address;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vorlanex::tool
