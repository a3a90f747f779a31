#include "support/built_files.h"

#include <filesystem>

namespace vorlanex::test {
namespace {

// Made absolute at program start, while the current directory is still the
// one the test runner started us in (under Wine this also turns the build's
// Unix path into a drive path).
const std::string moduleFile = std::filesystem::absolute(VORLANEX_MODULE_FILE).string();
const std::string globalDllFile = std::filesystem::absolute(VORLANEX_GLOBAL_DLL_FILE).string();

}  // namespace

const std::string& modulePath() { return moduleFile; }
const std::string& globalDllPath() { return globalDllFile; }

}  // namespace vorlanex::test
