#include "platform/portable/riff_file_faults.h"

namespace vorlanex::platform {
namespace {

int calls[kRiffCallKinds] = {};
int filesOpen = 0;
RiffCall faultCall = RiffCall::kOpen;
int faultCountdown = 0;  // 0: no fault pending
bool faultStruck = false;

}  // namespace

void failRiffCall(RiffCall call, int nth) {
  faultCall = call;
  faultCountdown = nth;
  faultStruck = false;
}

void resetRiffFaults() {
  for (int& count : calls) count = 0;
  faultCountdown = 0;
  faultStruck = false;
}

bool riffFaultStruck() { return faultStruck; }

int riffCalls(RiffCall call) { return calls[static_cast<int>(call)]; }

int openRiffFiles() { return filesOpen; }

bool riffCallFails(RiffCall call) {
  ++calls[static_cast<int>(call)];
  if (faultCountdown == 0 || call != faultCall || --faultCountdown != 0) return false;
  faultStruck = true;
  return true;
}

void countRiffFile(int change) { filesOpen += change; }

}  // namespace vorlanex::platform
