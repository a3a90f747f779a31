// Memory running out, on demand: a program that links allocation_faults.cpp
// gets its own operator new, which throws std::bad_alloc for the allocation
// a test names, as it would with memory exhausted, and serves every other
// one from malloc. Only the throwing forms fail: the nothrow ones serve C
// code (cabinet.dll's own blocks, through the panel tool), and Wine's
// cabinet.dll does not survive running out inside its inflate.
#pragma once

namespace vorlanex::test {

// The `nth` throwing allocation from now on fails (1: the next one); 0 fails none.
void failAllocation(long nth);

// Whether the failure armed last has happened.
bool allocationFailed();

}  // namespace vorlanex::test
