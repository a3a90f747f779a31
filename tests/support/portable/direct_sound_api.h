// DirectSound as the module sees it natively: the engine's, through the
// module's own sound seam.
#pragma once

#include "sound_api.h"
