#include "audio/audio_device.h"

#include "platform/window_and_sleep.h"

namespace vorlanex {

Result openDevice(IDirectSound*& device) {
  IDirectSound* created = nullptr;
  const HRESULT createResult = DirectSoundCreate(nullptr, &created, nullptr);
  if (FAILED(createResult)) return createResult;
  device = created;
  auto* window = static_cast<HWND>(platform::findTopLevelWindow("FS98MAIN"));
  const HRESULT levelResult = device->SetCooperativeLevel(window, DSSCL_NORMAL);
  return FAILED(levelResult) ? levelResult : kOk;
}

void closeDevice(IDirectSound*& device) {
  if (device == nullptr) return;
  device->Release();
  device = nullptr;
}

}  // namespace vorlanex
