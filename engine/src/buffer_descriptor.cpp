#include "buffer_descriptor.h"

namespace vorlanex::engine {

HRESULT checkDescriptor(const DSBUFFERDESC* descriptor, BufferShape* shape) {
  if (descriptor == nullptr || descriptor->dwSize != sizeof(DSBUFFERDESC)) {
    return DSERR_INVALIDPARAM;
  }
  if (descriptor->dwFlags & DSBCAPS_PRIMARYBUFFER) return E_NOTIMPL;
  if (descriptor->lpwfxFormat == nullptr) return DSERR_INVALIDPARAM;
  SampleFormat format;
  if (const HRESULT result = checkWaveFormat(*descriptor->lpwfxFormat, &format); FAILED(result)) {
    return result;
  }
  const DWORD bytes = descriptor->dwBufferBytes;
  if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
  const DWORD block = format.blockAlign;
  *shape = {format, descriptor->dwFlags, (bytes + block - 1) / block * block};
  return DS_OK;
}

}  // namespace vorlanex::engine
