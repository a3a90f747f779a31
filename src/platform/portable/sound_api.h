// The module's view of the sound device: DirectSound's own interfaces, which
// the portable sound engine provides natively.
#pragma once

#include <vorlanex_engine/dsound.h>
