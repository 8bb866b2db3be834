// The library files of the virtual printer as the install step lays them
// out: the print processor tanproc, the printer driver and its
// configuration library. The spooler here loads none of them (the print
// job is played by TanprocPrint), so they only need to exist.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
