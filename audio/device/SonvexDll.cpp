#include <windows.h>

#include "SonvexLibrary.h"

using namespace SonvexDevice;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        SonvexLibrary::Load(instance);
        break;
    case DLL_PROCESS_DETACH:
        SonvexLibrary::Unload(reserved != nullptr);
        break;
    default:
        break;
    }
    return TRUE;
}
