#include "audio/audio_device.h"

#include "audio/sound_buffers.h"
#include "platform/window_and_sleep.h"

namespace vorlanex {
namespace {

IDirectSound* device = nullptr;

}  // namespace

Result openDevice() {
  if (device != nullptr) {
    // A panel set up again without a disconnect: its sounds live on the held
    // device, which must neither be released under them nor leaked.
    if (anySoundHoldsBuffer()) return kOk;
    closeDevice();
  }
  IDirectSound* created = nullptr;
  const HRESULT createResult = DirectSoundCreate(nullptr, &created, nullptr);
  if (FAILED(createResult)) return createResult;
  device = created;
  auto* window = static_cast<HWND>(platform::findTopLevelWindow("FS98MAIN"));
  const HRESULT levelResult = device->SetCooperativeLevel(window, DSSCL_NORMAL);
  return FAILED(levelResult) ? levelResult : kOk;
}

Result closeDevice() {
  if (device != nullptr) {
    device->Release();
    device = nullptr;
  }
  return kOk;
}

IDirectSound* audioDevice() { return device; }

}  // namespace vorlanex
