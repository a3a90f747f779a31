// The module's view of the sound device on Windows: DirectSound itself.
// DirectSoundCreate is imported from DSOUND.dll by ordinal 1.
#pragma once

#include "windows_headers.h"
#include <mmreg.h>
#include <dsound.h>

static_assert(sizeof(DSBUFFERDESC) == 36, "the descriptor DirectSound checks on 32-bit Windows");
static_assert(sizeof(WAVEFORMATEX) == 18, "a WAV file's format block as DirectSound takes it");
