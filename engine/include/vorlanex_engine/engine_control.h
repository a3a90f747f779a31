// Control of the portable sound engine, for tests, the panel host and tools.
//
// The engine is one per process (a shared library that the module, the host,
// the tests and the tools all link), so these functions act on the same
// devices and buffers that DirectSoundCreate gave out. Every function is safe
// to call while the real-time clock's thread mixes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vorlanex_engine/dsound.h"

namespace vorlanex::engine {

// Every playing buffer is mixed into float stereo frames at this rate.
inline constexpr std::uint32_t kOutputRate = 48000;

// Back to a clean state: virtual clock at 0, no sink, no faults pending,
// counters at 0, mixed output empty. Devices and buffers still held keep
// living, with their contents and play state.
VORLANEX_ENGINE_API void reset();

// --- Clock -----------------------------------------------------------------
// The virtual clock (the default) moves only when advanced: deterministic,
// exact to the output frame. Durations add up exactly: the fraction of a
// frame left over by one call is carried into the next, so 18 advances of
// 1/18 s make 48000 frames. Each advance mixes into the sink (with no sink,
// positions move and nothing is mixed). These return false and do nothing
// while the real-time clock runs, or for a negative, non-finite or absurdly
// long (over 10^9 s) duration.
VORLANEX_ENGINE_API bool advance(double seconds);
VORLANEX_ENGINE_API bool advanceFrames(std::uint64_t frames);
// Advances by `frames` and writes their mix to `out` (2 floats a frame, left
// then right) instead of the sink.
VORLANEX_ENGINE_API bool render(float* out, std::uint64_t frames);
// Output frames delivered since the last reset.
VORLANEX_ENGINE_API std::uint64_t elapsedFrames();

// The real-time clock: a thread advances time with the wall clock, mixing
// about 10 ms at a time into the sink. startRealTime returns false when it
// already runs. stopRealTime returns to the virtual clock where it stopped.
VORLANEX_ENGINE_API bool startRealTime();
VORLANEX_ENGINE_API void stopRealTime();
VORLANEX_ENGINE_API bool realTimeRunning();

// --- Sinks -----------------------------------------------------------------
// Where mixed frames go. Changing the sink closes the previous one. A failed
// change leaves no sink and tells why in sinkError().
VORLANEX_ENGINE_API void useNoSink();
// Keeps every frame in memory, unclipped, for mixedOutput().
VORLANEX_ENGINE_API void useMemorySink();
// A 32-bit float stereo WAV file at the output rate, complete once the sink
// is changed or the engine is reset.
VORLANEX_ENGINE_API bool useWavFileSink(const std::string& path);
// The system's default playback device (PortAudio), clipped to full scale.
VORLANEX_ENGINE_API bool useDeviceSink();
VORLANEX_ENGINE_API std::string sinkError();
// What the memory sink holds: interleaved left/right floats.
VORLANEX_ENGINE_API std::vector<float> mixedOutput();
VORLANEX_ENGINE_API void clearMixedOutput();

// --- Fault injection ---------------------------------------------------------
// Each armed fault answers `code` to the next `times` calls of its operation
// (kEveryCall: every call until reset; 0 disarms). A failing call leaves its
// out-arguments null, as DirectSound does.
inline constexpr int kEveryCall = -1;
VORLANEX_ENGINE_API void failDirectSoundCreate(HRESULT code, int times = 1);
VORLANEX_ENGINE_API void failSetCooperativeLevel(HRESULT code, int times = 1);
VORLANEX_ENGINE_API void failCreateSoundBuffer(HRESULT code, int times = 1);
VORLANEX_ENGINE_API void failLock(HRESULT code, int times = 1);
// A failing Unlock renders nothing of what was written: the buffer plays
// silence, as when the rendering runs out of memory.
VORLANEX_ENGINE_API void failUnlock(HRESULT code, int times = 1);
VORLANEX_ENGINE_API void failGetStatus(HRESULT code, int times = 1);
// The buffer loses its memory: it stops, its status is DSBSTATUS_BUFFERLOST,
// Play and Lock answer DSERR_BUFFERLOST until Restore succeeds, and it then
// holds silence. False when `buffer` is not a live buffer of the engine.
VORLANEX_ENGINE_API bool loseBuffer(IDirectSoundBuffer* buffer);
// The next Restore calls of lost buffers answer these codes in turn (a
// buffer stays lost on any answer but DS_OK); once they are used up Restore
// succeeds.
VORLANEX_ENGINE_API void answerRestore(const std::vector<HRESULT>& codes);

// --- Call counters -----------------------------------------------------------
enum class Call {
  DirectSoundCreate,
  DeviceQueryInterface,
  DeviceAddRef,
  DeviceRelease,
  CreateSoundBuffer,
  DeviceGetCaps,
  DuplicateSoundBuffer,
  SetCooperativeLevel,
  Compact,
  GetSpeakerConfig,
  SetSpeakerConfig,
  DeviceInitialize,
  BufferQueryInterface,
  BufferAddRef,
  BufferRelease,
  BufferGetCaps,
  GetCurrentPosition,
  GetFormat,
  GetVolume,
  GetPan,
  GetFrequency,
  GetStatus,
  BufferInitialize,
  Lock,
  Play,
  SetCurrentPosition,
  SetFormat,
  SetVolume,
  SetPan,
  SetFrequency,
  Stop,
  Unlock,
  Restore,
  Count
};
// Calls since the last reset, whatever their result.
VORLANEX_ENGINE_API std::uint64_t callCount(Call call);
VORLANEX_ENGINE_API std::uint64_t totalCalls();
VORLANEX_ENGINE_API const char* callName(Call call);

// --- Views -------------------------------------------------------------------
struct BufferView {
  IDirectSoundBuffer* buffer;  // identity only: the view holds no reference
  WAVEFORMATEX format;         // the first 18 bytes of the buffer's format
  DWORD flags;                 // as created
  DWORD bytes;                 // size, rounded up to whole blocks
  DWORD playPosition;          // play cursor, in bytes
  DWORD status;                // as GetStatus answers
  LONG volume;
  LONG pan;
  ULONG references;
};
// Live buffers, oldest first.
VORLANEX_ENGINE_API std::vector<BufferView> buffers();
// False when `buffer` is not a live buffer of the engine.
VORLANEX_ENGINE_API bool viewBuffer(IDirectSoundBuffer* buffer, BufferView* view);
// Device objects alive (a buffer keeps its device alive).
VORLANEX_ENGINE_API std::size_t liveDevices();

}  // namespace vorlanex::engine
