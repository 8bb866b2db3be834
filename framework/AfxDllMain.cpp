// The entry of a DLL that has its own application object: InitInstance runs
// when the DLL is loaded (a FALSE result refuses the load), ExitInstance
// when it is unloaded. Resources are then looked up in the DLL.
#include "CWinApp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        return AfxDllProcessAttach(hInstance);
    if (dwReason == DLL_PROCESS_DETACH)
        AfxDllProcessDetach();
    return TRUE;
}
