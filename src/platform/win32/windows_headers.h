// <windows.h> as every Windows file of ours takes it: without min/max macros
// and the rarely used parts, plus the multimedia declarations that lean
// windows.h leaves out (mmio, WAVEFORMATEX).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>
