// DirectSound as the module sees it on Windows: Windows' own headers.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: these need its types; lean windows.h leaves out mmsystem.h.
#include <mmsystem.h>
#include <mmreg.h>
#include <dsound.h>
