#include "audio/sound_buffers.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "audio/audio_device.h"
#include "audio/module_heap.h"
#include "audio/wave_reader.h"
#include "platform/window_and_sleep.h"
#include "sound_api.h"

namespace vorlanex {
namespace {

struct SoundBuffer {
  IDirectSoundBuffer* buffer;
  WaveReader* reader;
  std::uint32_t byteSize;
};

SoundBuffer sounds[kSoundBufferEntries];

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
  sound.buffer->Unlock(first, firstBytes, nullptr, 0);
  return kOk;
}

Result createBufferFromReader(SoundBuffer& sound, const char* path) {
  if (sound.reader->open(path) != kOk) return kFail;
  IDirectSound* device = audioDevice();
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
  return kOk;
}

}  // namespace

Result createBuffer(SoundIndex index, const char* path) {
  SoundBuffer& sound = sounds[index];
  destroyReader(sound);
  releaseBuffer(sound);

  void* memory = heapAllocate(sizeof(WaveReader));
  if (memory == nullptr) return kOutOfMemory;
  sound.reader = new (memory) WaveReader();
  const Result result = createBufferFromReader(sound, path);
  // A sound without a buffer can never play: its file is let go at once
  // rather than held open until the panel closes.
  if (result != kOk) destroyReader(sound);
  return result;
}

Result fillBuffer(SoundIndex index) {
  SoundBuffer& sound = sounds[index];
  if (sound.buffer == nullptr || sound.reader == nullptr) return kFail;
  // The buffer's size, or less when an earlier fill or rewind left the
  // reader short of its start.
  const std::uint32_t size = std::min(sound.byteSize, sound.reader->dataChunk.cksize);
  auto* block = static_cast<unsigned char*>(heapAllocate(size));
  if (block == nullptr) return kOutOfMemory;
  std::uint32_t bytesRead = 0;
  Result result = sound.reader->read(size, block, &bytesRead);
  if (result == kOk) {
    sound.reader->rewind();
    result = copyIntoBuffer(sound, block, bytesRead);
  }
  heapFree(block);
  return result;
}

Result loadSound(SoundIndex index, const char* path) {
  const Result created = createBuffer(index, path);
  return created != kOk ? created : fillBuffer(index);
}

PlayState playState(SoundIndex index) {
  IDirectSoundBuffer* buffer = sounds[index].buffer;
  if (buffer == nullptr) return PlayState::kNoBuffer;
  DWORD status = 0;
  buffer->GetStatus(&status);
  return (status & DSBSTATUS_PLAYING) != 0 ? PlayState::kPlaying : PlayState::kStopped;
}

Result playSound(SoundIndex index, bool looping) {
  IDirectSoundBuffer* buffer = sounds[index].buffer;
  if (buffer == nullptr) return kFail;
  const Result restored = restoreBuffer(index);
  if (restored < 0) return restored;
  const HRESULT played = buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
  return FAILED(played) ? played : kOk;
}

void stopSound(SoundIndex index, bool rewind) {
  IDirectSoundBuffer* buffer = sounds[index].buffer;
  if (buffer == nullptr) return;
  buffer->Stop();
  if (rewind) buffer->SetCurrentPosition(0);
}

Result restoreBuffer(SoundIndex index) {
  IDirectSoundBuffer* buffer = sounds[index].buffer;
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
  const Result filled = fillBuffer(index);
  return filled < 0 ? filled : kOk;
}

Result releaseSound(SoundIndex index) {
  destroyReader(sounds[index]);
  releaseBuffer(sounds[index]);
  return kOk;
}

bool anySoundHoldsBuffer() {
  for (const SoundBuffer& sound : sounds) {
    if (sound.buffer != nullptr) return true;
  }
  return false;
}

IDirectSoundBuffer* soundBufferOf(SoundIndex index) { return sounds[index].buffer; }

Result setVolume(SoundIndex index, std::int32_t hundredths) {
  IDirectSoundBuffer* buffer = sounds[index].buffer;
  return buffer == nullptr ? kFail : buffer->SetVolume(hundredths);
}

std::int32_t getVolume(SoundIndex index) {
  IDirectSoundBuffer* buffer = sounds[index].buffer;
  LONG volume = DSBVOLUME_MIN;
  if (buffer == nullptr || FAILED(buffer->GetVolume(&volume))) return DSBVOLUME_MIN;
  return volume;
}

Result setPan(SoundIndex index, std::int32_t pan) {
  IDirectSoundBuffer* buffer = sounds[index].buffer;
  return buffer == nullptr ? kFail : buffer->SetPan(pan);
}

}  // namespace vorlanex
