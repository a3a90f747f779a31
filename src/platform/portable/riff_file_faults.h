// Fault injection and counters for the portable RIFF seam: tests make any call
// fail the way the platform's would, and check that every file was closed.
#pragma once

namespace vorlanex::platform {

enum class RiffCall { kOpen, kDescend, kAscend, kRead, kSeek, kGetBuffer, kAdvance, kSetBuffer };
constexpr int kRiffCallKinds = 8;

// The nth call of `call` from now on (1: the next one) fails, once: open gives
// null, read and seek -1, the others kFailed, with nothing done.
void failRiffCall(RiffCall call, int nth);

// Drops a pending fault and sets the call counts to 0.
void resetRiffFaults();

// True once the fault set by failRiffCall has struck.
bool riffFaultStruck();

// Calls of `call` since the last reset.
int riffCalls(RiffCall call);

// Files opened and not yet closed.
int openRiffFiles();

// For the seam: counts the call and tells whether it is to fail.
bool riffCallFails(RiffCall call);
void countRiffFile(int change);

}  // namespace vorlanex::platform
