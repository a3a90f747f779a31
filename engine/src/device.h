// The engine's IDirectSound: a device on which secondary buffers are made.
// All devices of the process mix into the same output.
#pragma once

#include "vorlanex_engine/dsound.h"

namespace vorlanex::engine {

class Device final : public IDirectSound {
 public:
  Device();

  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT CreateSoundBuffer(LPCDSBUFFERDESC descriptor, LPDIRECTSOUNDBUFFER* buffer,
                            LPUNKNOWN outer) override;
  HRESULT GetCaps(LPDSCAPS caps) override;
  HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                               LPDIRECTSOUNDBUFFER* duplicate) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD level) override;
  HRESULT Compact() override;
  HRESULT GetSpeakerConfig(LPDWORD config) override;
  HRESULT SetSpeakerConfig(DWORD config) override;
  HRESULT Initialize(LPCGUID device) override;

  // A buffer's hold on its device: not a call of the caller's, so not
  // counted. Call with the engine's lock held.
  void hold() { ++references_; }
  void letGo();

 private:
  ~Device();

  ULONG references_ = 1;
};

}  // namespace vorlanex::engine
