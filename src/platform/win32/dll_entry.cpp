// Loading and unloading the module runs nothing of its own: the entry routine
// reports success for every notification.
#include "windows_headers.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
