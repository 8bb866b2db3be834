// Placeholder for the driver's rendering libraries, which cannot run here;
// the install only needs files of their names.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
