// Loading and unloading the module runs nothing of its own: the entry routine
// reports success for every notification.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
