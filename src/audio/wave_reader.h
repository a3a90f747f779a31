// Reads one WAV file: its format block for the sound's buffer, then its sample
// bytes in order, as often as the buffer needs them (rewind).
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/result_codes.h"
#include "platform/riff_file.h"

namespace vorlanex {

// The WAVEFORMATEX layout, handed to the sound device unchanged. The reader's
// format block is this record followed directly by cbSize extra bytes.
#pragma pack(push, 1)
struct WaveFormat {
  std::uint16_t wFormatTag;
  std::uint16_t nChannels;
  std::uint32_t nSamplesPerSec;
  std::uint32_t nAvgBytesPerSec;
  std::uint16_t nBlockAlign;
  std::uint16_t wBitsPerSample;
  std::uint16_t cbSize;
};
#pragma pack(pop)

static_assert(sizeof(WaveFormat) == 18, "WAVEFORMATEX is 18 bytes");
static_assert(offsetof(WaveFormat, nChannels) == 2 && offsetof(WaveFormat, nSamplesPerSec) == 4 &&
                  offsetof(WaveFormat, nAvgBytesPerSec) == 8 &&
                  offsetof(WaveFormat, nBlockAlign) == 12 &&
                  offsetof(WaveFormat, wBitsPerSample) == 14 && offsetof(WaveFormat, cbSize) == 16,
              "WAVEFORMATEX field offsets");

constexpr std::uint16_t kWaveFormatPcm = 1;

// Where the last open of a reader stopped. The module sees only kFail, or
// kOutOfMemory for kNoMemory; this is for people: a panel author asking why a
// sound does not load.
enum class OpenFailure {
  kNone,            // the last open succeeded, or there was none
  kNoFile,          // the file could not be opened
  kNotRiff,         // the file does not begin with a "RIFF" chunk
  kNotWave,         // the RIFF form type is not "WAVE"
  kNoFormatChunk,   // no "fmt " chunk inside the RIFF chunk
  kFormatTooShort,  // the "fmt " chunk is smaller than 16 bytes
  kFormatCutShort,  // the file ends inside the format fields
  kNoMemory,        // the format block could not be allocated
  kExtraCutShort,   // the file ends inside the extra format bytes
  kFormatChunkEnd,  // the end of the "fmt " chunk could not be reached
  kNoDataChunk,     // no "data" chunk inside the RIFF chunk
  kReadError,       // the file could not be read, whatever it holds
};

// A short English text for each stage ("not a RIFF file").
const char* describeOpenFailure(OpenFailure failure);

class WaveReader {
 public:
  // No format, no file.
  WaveReader() = default;
  // Closes the file, then frees the format block.
  ~WaveReader();
  WaveReader(const WaveReader&) = delete;
  WaveReader& operator=(const WaveReader&) = delete;

  // Opens the WAV file at `path` (a Windows path), reads its format and
  // positions the reader at the first sample byte. A file or format held from
  // before is let go first. kFail when the header cannot be read (kOutOfMemory
  // when the format block cannot be allocated), with neither file nor format
  // held; kFail also when no "data" chunk is found, but then file and format
  // stay held until close and destruction.
  Result open(const char* path);

  // Back to the first sample byte, with dataChunk.cksize the full data size.
  // kFail when the data chunk cannot be found again.
  Result rewind();

  // Copies the next min(count, dataChunk.cksize) sample bytes to
  // `destination` and sets *bytesRead to that number. Never hands out bytes
  // beyond the data chunk: a larger count is lowered, and with nothing left
  // the read succeeds with 0 bytes. dataChunk.cksize is lowered before the
  // copy, so a file that ends inside its data chunk fails with it lowered all
  // the same, *bytesRead 0 and `destination` partly written.
  Result read(std::uint32_t count, void* destination, std::uint32_t* bytesRead);

  // Closes the file, if one is open. Always kOk.
  Result close();

  // Right after open or rewind: the sample bytes the file really holds, which
  // is the declared size unless the file ends inside its data chunk (a
  // download cut short, a file still being written); then what is there, in
  // whole sample frames. The declared size when the file's size is unknown.
  std::uint32_t dataBytesHeld() const;

  OpenFailure lastOpenFailure() const { return lastOpenFailure_; }

  WaveFormat* format = nullptr;        // owned block: 18 + cbSize bytes
  platform::RiffFile* file = nullptr;  // open from open() to close()
  platform::ChunkInfo dataChunk = {};  // cksize: sample bytes not yet read
  platform::ChunkInfo riffChunk = {};  // dwDataOffset anchors rewind

 private:
  OpenFailure readHeader();
  OpenFailure readFormat(const platform::ChunkInfo& formatChunk);
  void freeFormat();

  OpenFailure lastOpenFailure_ = OpenFailure::kNone;
};

}  // namespace vorlanex
