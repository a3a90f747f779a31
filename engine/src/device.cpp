#include "device.h"

#include <mutex>
#include <new>

#include "buffer_descriptor.h"
#include "engine.h"
#include "rendering.h"
#include "sound_buffer.h"

namespace vorlanex::engine {
namespace {

// The most memory one buffer's rendering may take. Only a buffer at a very
// low rate, hours long, comes near: it is refused as DirectSound refuses
// what it cannot allocate, instead of exhausting the machine.
constexpr std::uint64_t kMaxRenderingBytes = std::uint64_t{1} << 30;

}  // namespace

Device::Device() { ++engine().devices; }

Device::~Device() { --engine().devices; }

void Device::letGo() {
  if (--references_ == 0) delete this;
}

HRESULT Device::QueryInterface(REFIID riid, void** object) {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::DeviceQueryInterface);
  if (object == nullptr) return DSERR_INVALIDPARAM;
  if (riid != IID_IUnknown && riid != IID_IDirectSound) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ++references_;
  *object = static_cast<IDirectSound*>(this);
  return S_OK;
}

ULONG Device::AddRef() {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::DeviceAddRef);
  return ++references_;
}

ULONG Device::Release() {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::DeviceRelease);
  const ULONG left = references_ - 1;
  letGo();
  return left;
}

HRESULT Device::CreateSoundBuffer(LPCDSBUFFERDESC descriptor, LPDIRECTSOUNDBUFFER* buffer,
                                  LPUNKNOWN outer) {
  Engine& e = engine();
  std::lock_guard<std::mutex> lock(e.mutex);
  e.count(Call::CreateSoundBuffer);
  if (buffer == nullptr) return DSERR_INVALIDPARAM;
  *buffer = nullptr;
  if (const HRESULT injected = e.faults.createSoundBuffer.take(); injected != DS_OK) {
    return injected;
  }
  if (outer != nullptr) return DSERR_NOAGGREGATION;
  BufferShape shape;
  if (const HRESULT result = checkDescriptor(descriptor, &shape); FAILED(result)) return result;
  const std::uint64_t frames = shape.bytes / shape.format.blockAlign;
  if (renderingBytes(shape.format, frames, outputFramesFor(frames, shape.format.rate)) >
      kMaxRenderingBytes) {
    return DSERR_OUTOFMEMORY;
  }
  try {
    auto* made = new SoundBuffer(this, shape, *descriptor->lpwfxFormat);
    e.buffers.push_back(made);
    *buffer = made;
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  return DS_OK;
}

HRESULT Device::GetCaps(LPDSCAPS) {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::DeviceGetCaps);
  return E_NOTIMPL;
}

HRESULT Device::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER* duplicate) {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::DuplicateSoundBuffer);
  if (duplicate != nullptr) *duplicate = nullptr;
  return E_NOTIMPL;
}

// Granted whatever the window and level, as Wine's DirectSound does: the
// engine shares its output with no other program.
HRESULT Device::SetCooperativeLevel(HWND, DWORD) {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::SetCooperativeLevel);
  return engine().faults.cooperativeLevel.take();
}

HRESULT Device::Compact() {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::Compact);
  return DS_OK;
}

HRESULT Device::GetSpeakerConfig(LPDWORD) {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::GetSpeakerConfig);
  return E_NOTIMPL;
}

HRESULT Device::SetSpeakerConfig(DWORD) {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::SetSpeakerConfig);
  return E_NOTIMPL;
}

HRESULT Device::Initialize(LPCGUID) {
  std::lock_guard<std::mutex> lock(engine().mutex);
  engine().count(Call::DeviceInitialize);
  return DSERR_ALREADYINITIALIZED;
}

}  // namespace vorlanex::engine

extern "C" HRESULT DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* directSound, LPUNKNOWN outer) {
  using namespace vorlanex::engine;
  Engine& e = engine();
  std::lock_guard<std::mutex> lock(e.mutex);
  e.count(Call::DirectSoundCreate);
  if (directSound == nullptr) return DSERR_INVALIDPARAM;
  *directSound = nullptr;
  if (const HRESULT injected = e.faults.directSoundCreate.take(); injected != DS_OK) {
    return injected;
  }
  if (outer != nullptr) return DSERR_NOAGGREGATION;
  if (device != nullptr && *device != GUID_NULL && *device != DSDEVID_DefaultPlayback) {
    return DSERR_NODRIVER;
  }
  try {
    *directSound = new Device;
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  return DS_OK;
}
