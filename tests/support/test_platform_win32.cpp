#include "support/test_platform.h"

#include "windows_headers.h"

namespace vorlanex::test {

// Wine's ntdll exports wine_get_version; Windows' does not.
bool runsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace vorlanex::test
