#include "sound_buffer.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "device.h"
#include "engine.h"
#include "gain.h"
#include "rendering.h"

namespace vorlanex::engine {
namespace {

using Guard = std::lock_guard<std::mutex>;

// The format block as GetFormat returns it: the extensible record whole,
// the plain ones without extra bytes.
std::vector<std::uint8_t> formatBlock(const WAVEFORMATEX& format) {
  const bool extensible = format.wFormatTag == WAVE_FORMAT_EXTENSIBLE;
  const std::size_t size = extensible ? sizeof(WAVEFORMATEXTENSIBLE) : sizeof(WAVEFORMATEX);
  std::vector<std::uint8_t> block(size);
  std::memcpy(block.data(), &format, size);
  const WORD extra = extensible ? sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX) : 0;
  std::memcpy(block.data() + offsetof(WAVEFORMATEX, cbSize), &extra, sizeof extra);
  return block;
}

}  // namespace

SoundBuffer::SoundBuffer(Device* device, const BufferShape& shape, const WAVEFORMATEX& format)
    : device_(device),
      shape_(shape),
      format_(formatBlock(format)),
      memory_(shape.bytes, silenceByte(shape.format.encoding)) {
  voice_.sourceFrames = shape.bytes / shape.format.blockAlign;
  voice_.outputFrames = outputFramesFor(voice_.sourceFrames, shape.format.rate);
  device_->hold();
}

SoundBuffer::~SoundBuffer() { device_->letGo(); }

HRESULT SoundBuffer::QueryInterface(REFIID riid, void** object) {
  Guard lock(engine().mutex);
  engine().count(Call::BufferQueryInterface);
  if (object == nullptr) return DSERR_INVALIDPARAM;
  if (riid != IID_IUnknown && riid != IID_IDirectSoundBuffer) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ++references_;
  *object = static_cast<IDirectSoundBuffer*>(this);
  return S_OK;
}

ULONG SoundBuffer::AddRef() {
  Guard lock(engine().mutex);
  engine().count(Call::BufferAddRef);
  return ++references_;
}

// The last Release takes the buffer out of the mix at once, playing or not.
ULONG SoundBuffer::Release() {
  Engine& e = engine();
  Guard lock(e.mutex);
  e.count(Call::BufferRelease);
  const ULONG left = --references_;
  if (left == 0) {
    e.buffers.erase(std::find(e.buffers.begin(), e.buffers.end(), this));
    delete this;
  }
  return left;
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
  Guard lock(engine().mutex);
  engine().count(Call::BufferGetCaps);
  if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
  caps->dwFlags = shape_.flags | DSBCAPS_LOCSOFTWARE;
  caps->dwBufferBytes = shape_.bytes;
  caps->dwUnlockTransferRate = 0;
  caps->dwPlayCpuOverhead = 0;
  return DS_OK;
}

// The write cursor is the play cursor: whatever is unlocked is heard from
// the next mixed frame on.
HRESULT SoundBuffer::GetCurrentPosition(LPDWORD play, LPDWORD write) {
  Guard lock(engine().mutex);
  engine().count(Call::GetCurrentPosition);
  const auto position = static_cast<DWORD>(voice_.sourceFrame() * shape_.format.blockAlign);
  if (play != nullptr) *play = position;
  if (write != nullptr) *write = position;
  return DS_OK;
}

// With no block, tells the size needed in `written`.
HRESULT SoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD size, LPDWORD written) {
  Guard lock(engine().mutex);
  engine().count(Call::GetFormat);
  const auto needed = static_cast<DWORD>(format_.size());
  if (format == nullptr) {
    if (written == nullptr) return DSERR_INVALIDPARAM;
    *written = needed;
    return DS_OK;
  }
  if (size < needed) return DSERR_INVALIDPARAM;
  std::memcpy(format, format_.data(), needed);
  if (written != nullptr) *written = needed;
  return DS_OK;
}

HRESULT SoundBuffer::GetVolume(LPLONG volume) {
  Guard lock(engine().mutex);
  engine().count(Call::GetVolume);
  if (volume == nullptr) return DSERR_INVALIDPARAM;
  if (!(shape_.flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  *volume = volume_;
  return DS_OK;
}

HRESULT SoundBuffer::GetPan(LPLONG pan) {
  Guard lock(engine().mutex);
  engine().count(Call::GetPan);
  if (pan == nullptr) return DSERR_INVALIDPARAM;
  if (!(shape_.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  *pan = pan_;
  return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(LPDWORD frequency) {
  Guard lock(engine().mutex);
  engine().count(Call::GetFrequency);
  if (frequency == nullptr) return DSERR_INVALIDPARAM;
  *frequency = shape_.format.rate;
  return DS_OK;
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
  Guard lock(engine().mutex);
  engine().count(Call::GetStatus);
  if (status == nullptr) return DSERR_INVALIDPARAM;
  const HRESULT fault = engine().faults.getStatus.take();
  if (fault != DS_OK) return fault;
  *status = this->status();
  return DS_OK;
}

HRESULT SoundBuffer::Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) {
  Guard lock(engine().mutex);
  engine().count(Call::BufferInitialize);
  return DSERR_ALREADYINITIALIZED;
}

// A lock running past the end wraps to the start as a second part, when the
// caller asks for one.
HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2,
                          LPDWORD bytes2, DWORD flags) {
  Engine& e = engine();
  Guard lock(e.mutex);
  e.count(Call::Lock);
  if (part1 != nullptr) *part1 = nullptr;
  if (part2 != nullptr) *part2 = nullptr;
  if (bytes1 != nullptr) *bytes1 = 0;
  if (bytes2 != nullptr) *bytes2 = 0;
  if (const HRESULT injected = e.faults.lock.take(); injected != DS_OK) return injected;
  if (lost_) return DSERR_BUFFERLOST;
  if (part1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
  const DWORD size = shape_.bytes;
  if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
  if (flags & DSBLOCK_FROMWRITECURSOR) {
    offset = static_cast<DWORD>(voice_.sourceFrame() * shape_.format.blockAlign);
  }
  if (offset >= size || bytes > size) return DSERR_INVALIDPARAM;
  const DWORD first = std::min(bytes, size - offset);
  *part1 = memory_.data() + offset;
  *bytes1 = first;
  if (part2 != nullptr && bytes2 != nullptr && bytes > first) {
    *part2 = memory_.data();
    *bytes2 = bytes - first;
  }
  return DS_OK;
}

// On a stopped buffer, starts from the current position; on a playing one,
// only changes whether it loops. The priority only matters to hardware
// voices, which a software mixer has none of.
HRESULT SoundBuffer::Play(DWORD, DWORD, DWORD flags) {
  Guard lock(engine().mutex);
  engine().count(Call::Play);
  if (lost_) return DSERR_BUFFERLOST;
  voice_.playing = true;
  voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
  return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
  Guard lock(engine().mutex);
  engine().count(Call::SetCurrentPosition);
  if (position >= shape_.bytes) return DSERR_INVALIDPARAM;
  voice_.moveTo(position / shape_.format.blockAlign);
  return DS_OK;
}

// A secondary buffer keeps the format it was made with.
HRESULT SoundBuffer::SetFormat(LPCWAVEFORMATEX) {
  Guard lock(engine().mutex);
  engine().count(Call::SetFormat);
  return DSERR_INVALIDCALL;
}

HRESULT SoundBuffer::SetVolume(LONG volume) {
  Guard lock(engine().mutex);
  engine().count(Call::SetVolume);
  if (!(shape_.flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  volume_ = volume;
  const ChannelGains gains = channelGains(volume_, pan_);
  voice_.left = gains.left;
  voice_.right = gains.right;
  return DS_OK;
}

// DirectSound checks the range before the control, unlike SetVolume.
HRESULT SoundBuffer::SetPan(LONG pan) {
  Guard lock(engine().mutex);
  engine().count(Call::SetPan);
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  if (!(shape_.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  pan_ = pan;
  const ChannelGains gains = channelGains(volume_, pan_);
  voice_.left = gains.left;
  voice_.right = gains.right;
  return DS_OK;
}

// Changing the rate would mean rendering the buffer again at every change;
// nothing that uses this engine needs it.
HRESULT SoundBuffer::SetFrequency(DWORD) {
  Guard lock(engine().mutex);
  engine().count(Call::SetFrequency);
  if (!(shape_.flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  return E_NOTIMPL;
}

HRESULT SoundBuffer::Stop() {
  Guard lock(engine().mutex);
  engine().count(Call::Stop);
  voice_.playing = false;
  return DS_OK;
}

// Renders the whole buffer again, outside the engine's lock so that the
// real-time clock's thread mixes on meanwhile. Only the caller writes the
// buffer's memory, and its dimensions never change.
HRESULT SoundBuffer::Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) {
  {
    Guard lock(engine().mutex);
    engine().count(Call::Unlock);
    if (!spans(part1, bytes1) || !spans(part2, bytes2)) return DSERR_INVALIDPARAM;
    if (bytes1 == 0 && bytes2 == 0) return DS_OK;
    const HRESULT fault = engine().faults.unlock.take();
    if (fault != DS_OK) {
      voice_.rendering.reset();
      return fault;
    }
  }
  std::unique_ptr<const Rendering> rendering;
  HRESULT result = DS_OK;
  try {
    rendering =
        renderBuffer(shape_.format, memory_.data(), voice_.sourceFrames, voice_.outputFrames);
  } catch (const std::bad_alloc&) {
    result = DSERR_OUTOFMEMORY;  // the buffer then plays silence
  }
  Guard lock(engine().mutex);
  voice_.rendering.swap(rendering);
  return result;
}

HRESULT SoundBuffer::Restore() {
  Engine& e = engine();
  Guard lock(e.mutex);
  e.count(Call::Restore);
  if (!lost_) return DS_OK;
  const HRESULT answer = e.faults.takeRestoreAnswer();
  if (answer != DS_OK) return answer;
  lost_ = false;
  std::fill(memory_.begin(), memory_.end(), silenceByte(shape_.format.encoding));
  voice_.rendering.reset();
  return DS_OK;
}

void SoundBuffer::lose() {
  lost_ = true;
  voice_.playing = false;
}

BufferView SoundBuffer::view() {
  BufferView v{};
  v.buffer = this;
  std::memcpy(&v.format, format_.data(), sizeof v.format);
  v.flags = shape_.flags;
  v.bytes = shape_.bytes;
  v.playPosition = static_cast<DWORD>(voice_.sourceFrame() * shape_.format.blockAlign);
  v.status = status();
  v.volume = volume_;
  v.pan = pan_;
  v.references = references_;
  return v;
}

DWORD SoundBuffer::status() const {
  if (lost_) return DSBSTATUS_BUFFERLOST;
  if (!voice_.playing) return 0;
  return DSBSTATUS_PLAYING | (voice_.looping ? DSBSTATUS_LOOPING : 0);
}

// A part of the buffer's memory, or no part at all (null, 0 bytes).
bool SoundBuffer::spans(const void* part, DWORD bytes) const {
  if (part == nullptr) return bytes == 0;
  const auto base = reinterpret_cast<std::uintptr_t>(memory_.data());
  const auto at = reinterpret_cast<std::uintptr_t>(part);
  return at >= base && at < base + memory_.size() && bytes <= base + memory_.size() - at;
}

}  // namespace vorlanex::engine
