#include "sample_format.h"

#include <cstddef>
#include <cstring>

namespace vorlanex::engine {
namespace {

// The encoding of a PCM or float sample of `bits`, if the engine plays it.
bool encodingOf(bool isFloat, unsigned bits, Encoding* encoding) {
  if (isFloat) {
    *encoding = Encoding::Float32;
    return bits == 32;
  }
  switch (bits) {
    case 8:
      *encoding = Encoding::Unsigned8;
      return true;
    case 16:
      *encoding = Encoding::Signed16;
      return true;
    case 24:
      *encoding = Encoding::Signed24;
      return true;
    case 32:
      *encoding = Encoding::Signed32;
      return true;
    default:
      return false;
  }
}

}  // namespace

HRESULT checkWaveFormat(const WAVEFORMATEX& wave, SampleFormat* format) {
  const WORD tag = wave.wFormatTag;
  if (tag != WAVE_FORMAT_PCM && tag != WAVE_FORMAT_IEEE_FLOAT && tag != WAVE_FORMAT_EXTENSIBLE) {
    return E_NOTIMPL;
  }
  const unsigned bits = wave.wBitsPerSample;
  const unsigned channels = wave.nChannels;
  if (bits < 8 || bits % 8 != 0 || channels == 0 || wave.nSamplesPerSec == 0 ||
      wave.nAvgBytesPerSec == 0 || wave.nBlockAlign != channels * bits / 8) {
    return DSERR_INVALIDPARAM;
  }
  bool isFloat = tag == WAVE_FORMAT_IEEE_FLOAT;
  if (tag == WAVE_FORMAT_EXTENSIBLE) {
    if (wave.cbSize < sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX)) {
      return DSERR_INVALIDPARAM;
    }
    // The caller's block is at least as long as cbSize says.
    GUID subFormat;
    std::memcpy(&subFormat,
                reinterpret_cast<const BYTE*>(&wave) + offsetof(WAVEFORMATEXTENSIBLE, SubFormat),
                sizeof subFormat);
    if (subFormat == KSDATAFORMAT_SUBTYPE_IEEE_FLOAT) {
      isFloat = true;
    } else if (subFormat != KSDATAFORMAT_SUBTYPE_PCM) {
      return E_NOTIMPL;
    }
  } else if (channels > 2) {
    return DSERR_INVALIDPARAM;
  }
  Encoding encoding;
  if (!encodingOf(isFloat, bits, &encoding) || channels > 2 ||
      wave.nSamplesPerSec < DSBFREQUENCY_MIN || wave.nSamplesPerSec > DSBFREQUENCY_MAX) {
    return DSERR_BADFORMAT;
  }
  *format = {encoding, channels, wave.nSamplesPerSec, wave.nBlockAlign};
  return DS_OK;
}

}  // namespace vorlanex::engine
