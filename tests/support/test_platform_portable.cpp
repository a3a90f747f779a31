#include "support/test_platform.h"

namespace vorlanex::test {

bool runsUnderWine() { return false; }

}  // namespace vorlanex::test
