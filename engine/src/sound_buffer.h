// The engine's IDirectSoundBuffer: a secondary buffer holding its sound in
// its own format, rendered at the output rate at each Unlock, with
// DirectSound's play state, volume, pan and lost-memory behaviour.
#pragma once

#include <cstdint>
#include <vector>

#include "buffer_descriptor.h"
#include "voice.h"
#include "vorlanex_engine/dsound.h"
#include "vorlanex_engine/engine_control.h"

namespace vorlanex::engine {

class Device;

class SoundBuffer final : public IDirectSoundBuffer {
 public:
  // Holds a reference on `device`. Call with the engine's lock held. Throws
  // std::bad_alloc when its memory cannot be had.
  SoundBuffer(Device* device, const BufferShape& shape, const WAVEFORMATEX& format);

  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetCaps(LPDSBCAPS caps) override;
  HRESULT GetCurrentPosition(LPDWORD play, LPDWORD write) override;
  HRESULT GetFormat(LPWAVEFORMATEX format, DWORD size, LPDWORD written) override;
  HRESULT GetVolume(LPLONG volume) override;
  HRESULT GetPan(LPLONG pan) override;
  HRESULT GetFrequency(LPDWORD frequency) override;
  HRESULT GetStatus(LPDWORD status) override;
  HRESULT Initialize(LPDIRECTSOUND device, LPCDSBUFFERDESC descriptor) override;
  HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2,
               LPDWORD bytes2, DWORD flags) override;
  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
  HRESULT SetCurrentPosition(DWORD position) override;
  HRESULT SetFormat(LPCWAVEFORMATEX format) override;
  HRESULT SetVolume(LONG volume) override;
  HRESULT SetPan(LONG pan) override;
  HRESULT SetFrequency(DWORD frequency) override;
  HRESULT Stop() override;
  HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) override;
  HRESULT Restore() override;

  // For the engine, with its lock held.
  void play(float* out, std::uint64_t frames) {
    if (voice_.playing) playVoice(voice_, out, frames);
  }
  void lose();
  BufferView view();

 private:
  ~SoundBuffer();
  DWORD status() const;
  bool spans(const void* part, DWORD bytes) const;

  Device* device_;
  BufferShape shape_;
  std::vector<std::uint8_t> format_;  // the format block, as GetFormat gives it
  std::vector<std::uint8_t> memory_;  // what Lock hands out, in the buffer's format
  ULONG references_ = 1;
  LONG volume_ = DSBVOLUME_MAX;
  LONG pan_ = DSBPAN_CENTER;
  bool lost_ = false;
  Voice voice_;
};

}  // namespace vorlanex::engine
