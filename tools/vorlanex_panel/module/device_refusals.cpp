#include "device_refusals.h"

#include <cstdio>

#include "sound_api.h"

namespace vorlanex::tool {
namespace {

std::string hexCode(long code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code) & 0xFFFFFFFFul);
  return text;
}

std::string number(std::uint32_t value) { return std::to_string(value); }

// What in the file DirectSound does not take, or "" when nothing can be told.
std::string refusalInFile(const SoundFileReading& reading) {
  const WaveFormat& f = reading.format;
  if (reading.heldBytes > DSBSIZE_MAX) {
    return number(reading.heldBytes) + " bytes of samples are over DirectSound's limit of " +
           number(DSBSIZE_MAX) + " bytes (256 MB) for a buffer";
  }
  if (reading.heldBytes < DSBSIZE_MIN) {
    return "it holds " + number(reading.heldBytes) +
           " bytes of samples, fewer than the " + number(DSBSIZE_MIN) + " a buffer needs";
  }
  if (f.wFormatTag != kWaveFormatPcm && f.wFormatTag != WAVE_FORMAT_IEEE_FLOAT &&
      f.wFormatTag != WAVE_FORMAT_EXTENSIBLE) {
    return "DirectSound does not play format tag " + number(f.wFormatTag) +
           " (compressed sound); save the file as PCM";
  }
  if (f.wBitsPerSample < 8 || f.wBitsPerSample % 8 != 0) {
    return number(f.wBitsPerSample) + "-bit samples: DirectSound plays 8, 16, 24 or 32 bits";
  }
  if (f.nChannels == 0 || (f.nChannels > 2 && f.wFormatTag != WAVE_FORMAT_EXTENSIBLE)) {
    return number(f.nChannels) + " channels: DirectSound plays mono or stereo";
  }
  if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) {
    return "block align " + number(f.nBlockAlign) + " does not match " + number(f.nChannels) +
           " channels of " + number(f.wBitsPerSample) + " bits";
  }
  if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) {
    return number(f.nSamplesPerSec) + " Hz is outside DirectSound's " + number(DSBFREQUENCY_MIN) +
           " to " + number(DSBFREQUENCY_MAX) + " Hz";
  }
  return "";
}

std::string deviceAnswer(Result code) {
  switch (code) {
    case DSERR_OUTOFMEMORY:
      return "not enough memory for the buffer";
    case DSERR_ALLOCATED:
      return "the sound device is taken by another program";
    case DSERR_NODRIVER:
      return "no sound driver";
    case DSERR_BADFORMAT:
    case E_NOTIMPL:
      return "DirectSound does not play this format";
    case DSERR_INVALIDPARAM:
      return "DirectSound takes this format or size as invalid";
    default:
      return "the sound device answers " + hexCode(code);
  }
}

}  // namespace

std::string describeRefusal(const SoundFileReading& reading) {
  const std::string inFile = refusalInFile(reading);
  return inFile.empty() ? deviceAnswer(reading.device) : inFile;
}

std::string resultCodeText(Result code) { return hexCode(code); }

}  // namespace vorlanex::tool
