#define NOMINMAX
#include <windows.h>
#include <shellapi.h>

#include "open_browser.h"

namespace vorlanex::tool {

bool openInBrowser(const std::string& address) {
  // ShellExecute answers a value above 32 when it started something.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace vorlanex::tool
