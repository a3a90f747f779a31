// What a test needs to know about the platform it runs on.
#pragma once

namespace vorlanex::test {

// True when the program runs under Wine. Cases where Wine departs from
// Windows, and our stand-ins copy Windows, are skipped there.
bool runsUnderWine();

}  // namespace vorlanex::test
