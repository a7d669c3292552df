// The library's load hook: remembers the module handle that finds the library's folder and
// resources.
#include "platform/platform.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        vrn::platform::SetModuleHandle(instance);
    return TRUE;
}
