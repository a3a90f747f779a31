#include "audio/sound_buffers.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "audio/module_heap.h"
#include "audio/wave_reader.h"
#include "platform/window_and_sleep.h"
#include "sound_api.h"

namespace vorlanex {
namespace {

// A lost buffer whose memory does not come back (another program holding
// the device) must not hold the panel thread: after this many passes, about
// 100 ms while DirectSound answers "lost" and the loop pauses, the play is
// given up. A loop asked for again tries again in the next frame, so the
// simulator slows while the device is taken rather than freezing.
constexpr int kRestorePassLimit = 10;
constexpr std::uint32_t kRestorePauseMs = 10;

void destroyReader(SoundBuffer& sound) {
  if (sound.reader == nullptr) return;
  sound.reader->~WaveReader();
  heapFree(sound.reader);
  sound.reader = nullptr;
}

void releaseBuffer(SoundBuffer& sound) {
  if (sound.buffer == nullptr) return;
  sound.buffer->Release();
  sound.buffer = nullptr;
}

// What a buffer of this format holds when it is silent.
int silenceByte(const WaveFormat& format) { return format.wBitsPerSample == 8 ? 0x80 : 0; }

// Copies what was read into the locked buffer; whatever a short read left
// uncovered is silence, never stale sound.
Result copyIntoBuffer(SoundBuffer& sound, const unsigned char* data, std::uint32_t bytesRead) {
  void* first = nullptr;
  void* second = nullptr;
  DWORD firstBytes = 0;
  DWORD secondBytes = 0;
  const HRESULT locked =
      sound.buffer->Lock(0, sound.byteSize, &first, &firstBytes, &second, &secondBytes, 0);
  if (FAILED(locked)) return locked;
  const std::uint32_t copied = bytesRead < firstBytes ? bytesRead : firstBytes;
  std::memcpy(first, data, copied);
  std::memset(static_cast<unsigned char*>(first) + copied, silenceByte(*sound.reader->format),
              firstBytes - copied);
  // An unlock the device refuses may leave the buffer without the copy.
  const HRESULT unlocked = sound.buffer->Unlock(first, firstBytes, nullptr, 0);
  return FAILED(unlocked) ? unlocked : kOk;
}

Result createBufferFromReader(SoundBuffer& sound, IDirectSound* device, const char* path) {
  const Result opened = sound.reader->open(path);
  if (opened != kOk) return opened;
  if (device == nullptr) return DSERR_NODRIVER;

  // A file that ends inside its data chunk gets a buffer of what it holds,
  // so that it plays what is there and nothing is allocated for bytes that
  // never come.
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
  description.dwBufferBytes = sound.reader->dataBytesHeld();
  description.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(sound.reader->format);
  IDirectSoundBuffer* created = nullptr;
  const HRESULT result = device->CreateSoundBuffer(&description, &created, nullptr);
  if (FAILED(result)) return result;
  sound.buffer = created;
  sound.byteSize = description.dwBufferBytes;
  sound.filled = false;
  return kOk;
}

}  // namespace

Result createBuffer(SoundBuffer& sound, IDirectSound* device, const char* path) {
  releaseSound(sound);
  void* memory = heapAllocate(sizeof(WaveReader));
  if (memory == nullptr) return kOutOfMemory;
  sound.reader = new (memory) WaveReader();
  const Result result = createBufferFromReader(sound, device, path);
  // A sound without a buffer can never play: its file is let go at once
  // rather than held open until the panel closes.
  if (result != kOk) destroyReader(sound);
  return result;
}

Result fillBuffer(SoundBuffer& sound) {
  if (sound.buffer == nullptr || sound.reader == nullptr) return kFail;
  // From the first sample byte, whatever an earlier fill left behind.
  const Result rewound = sound.reader->rewind();
  if (rewound != kOk) return rewound;
  const std::uint32_t size = std::min(sound.byteSize, sound.reader->dataChunk.cksize);
  auto* block = static_cast<unsigned char*>(heapAllocate(size));
  if (block == nullptr) return kOutOfMemory;
  std::uint32_t bytesRead = 0;
  Result result = sound.reader->read(size, block, &bytesRead);
  if (result == kOk) result = copyIntoBuffer(sound, block, bytesRead);
  heapFree(block);
  sound.filled = result == kOk;
  return result;
}

Result loadSound(SoundBuffer& sound, IDirectSound* device, const char* path) {
  const Result created = createBuffer(sound, device, path);
  return created != kOk ? created : fillBuffer(sound);
}

PlayState playState(const SoundBuffer& sound) {
  if (sound.buffer == nullptr) return PlayState::kNoBuffer;
  DWORD status = 0;
  if (FAILED(sound.buffer->GetStatus(&status))) return PlayState::kUnknown;
  return (status & DSBSTATUS_PLAYING) != 0 ? PlayState::kPlaying : PlayState::kStopped;
}

Result playSound(SoundBuffer& sound, bool looping) {
  if (sound.buffer == nullptr) return kFail;
  const Result restored = restoreBuffer(sound);
  if (restored < 0) return restored;
  if (!sound.filled) {
    // Its first fill failed: a buffer never filled would play silence.
    const Result filled = fillBuffer(sound);
    if (filled < 0) return filled;
  }
  const HRESULT played = sound.buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
  return FAILED(played) ? played : kOk;
}

void stopSound(SoundBuffer& sound, bool rewind) {
  if (sound.buffer == nullptr) return;
  sound.buffer->Stop();
  if (rewind) sound.buffer->SetCurrentPosition(0);
}

Result restoreBuffer(SoundBuffer& sound) {
  IDirectSoundBuffer* buffer = sound.buffer;
  if (buffer == nullptr) return kOk;
  DWORD status = 0;
  const HRESULT statusResult = buffer->GetStatus(&status);
  if (FAILED(statusResult)) return statusResult;
  if ((status & DSBSTATUS_BUFFERLOST) == 0) return kOk;

  // Only a pass's second answer counts; the first decides on the pause.
  HRESULT answer = DSERR_BUFFERLOST;
  for (int pass = 0; pass < kRestorePassLimit && answer != DS_OK; ++pass) {
    if (buffer->Restore() == DSERR_BUFFERLOST) platform::sleepMilliseconds(kRestorePauseMs);
    answer = buffer->Restore();
  }
  if (answer != DS_OK) return FAILED(answer) ? answer : DSERR_BUFFERLOST;
  const Result filled = fillBuffer(sound);
  return filled < 0 ? filled : kOk;
}

void releaseSound(SoundBuffer& sound) {
  destroyReader(sound);
  releaseBuffer(sound);
  sound.byteSize = 0;
  sound.filled = false;
}

Result setVolume(SoundBuffer& sound, std::int32_t hundredths) {
  return sound.buffer == nullptr ? kFail : sound.buffer->SetVolume(hundredths);
}

std::int32_t getVolume(const SoundBuffer& sound) {
  LONG volume = DSBVOLUME_MIN;
  if (sound.buffer == nullptr || FAILED(sound.buffer->GetVolume(&volume))) return DSBVOLUME_MIN;
  return volume;
}

Result setPan(SoundBuffer& sound, std::int32_t pan) {
  return sound.buffer == nullptr ? kFail : sound.buffer->SetPan(pan);
}

}  // namespace vorlanex
