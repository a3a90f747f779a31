// Faults armed by tests: countdowns of injected failures, in the manner of
// SQLite's test VFS. Guarded by the engine's lock.
#pragma once

#include <deque>
#include <vector>

#include "vorlanex_engine/dsound.h"

namespace vorlanex::engine {

// A failure code answered by the next `remaining` calls of one operation
// (negative: every call).
class Countdown {
 public:
  void arm(HRESULT code, int times) {
    code_ = code;
    remaining_ = times;
  }
  // The code this call must answer, or DS_OK when the fault is not armed.
  HRESULT take() {
    if (remaining_ == 0) return DS_OK;
    if (remaining_ > 0) --remaining_;
    return code_;
  }

 private:
  HRESULT code_ = DS_OK;
  int remaining_ = 0;
};

struct Faults {
  Countdown directSoundCreate;
  Countdown cooperativeLevel;  // the device stays usable, as DirectSound's does
  Countdown createSoundBuffer;
  Countdown lock;
  Countdown unlock;     // as a rendering that ran out of memory: the buffer plays silence
  Countdown getStatus;
  std::deque<HRESULT> restoreAnswers;

  // What the next Restore of a lost buffer answers.
  HRESULT takeRestoreAnswer() {
    if (restoreAnswers.empty()) return DS_OK;
    const HRESULT code = restoreAnswers.front();
    restoreAnswers.pop_front();
    return code;
  }
};

}  // namespace vorlanex::engine
