// A module that says when its code runs: resource objects read its images without running it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("ORV_RESOURCE_MODULE_RAN", "1");
    return TRUE;
}
