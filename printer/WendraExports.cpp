// The exported functions of the virtual printer library. One print-job
// object lives from load to unload.
#include <windows.h>

#include <string>

#include "CVirtualPrinter.h"
#include "CWinShellHost.h"
#include "CWinSpooler.h"

namespace {
CWinSpooler* g_spooler = nullptr;
CWinShellHost* g_shell = nullptr;
CVirtualPrinter* g_printer = nullptr;

std::string HostFolder()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return std::string();
    std::string folder(path, n);
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void Create()
{
    g_spooler = new CWinSpooler();
    g_shell = new CWinShellHost();
    CVirtualPrinter::Places places;
    places.hostFolder = HostFolder();
    g_printer = new CVirtualPrinter(*g_spooler, *g_shell, places);
}

void Destroy()
{
    delete g_printer;
    delete g_shell;
    delete g_spooler;
    g_printer = nullptr;
    g_shell = nullptr;
    g_spooler = nullptr;
}
} // namespace

extern "C" {

int QNT_Install() { return g_printer ? g_printer->Install() : 0; }

int QNT_UnInstall() { return g_printer ? g_printer->UnInstall() : 1; }

int QNT_Init(const char* folder) { return g_printer ? g_printer->Init(folder) : 0; }

int QNT_Print(HWND owner, const char* path, int formatSwitch, const char* extension, int colour,
              int fit)
{
    return g_printer ? g_printer->Print(owner, path, formatSwitch, extension, colour, fit) : 0;
}

int QNT_GetStatus() { return g_printer ? static_cast<int>(g_printer->GetStatus()) : 0; }

int QNT_GetPages() { return g_printer ? static_cast<int>(g_printer->GetPages()) : 0; }

int QNT_GetFileName(char** names) { return g_printer ? g_printer->GetFileName(names) : 0; }

int* QNT_GetBmpSize(int* size) { return g_printer ? g_printer->GetBmpSize(size) : size; }

int QNT_SetBmpSize(const int* size) { return g_printer ? g_printer->SetBmpSize(size) : 0; }

int QNT_Release() { return g_printer ? g_printer->Release() : 1; }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Create();
    else if (reason == DLL_PROCESS_DETACH)
        Destroy();
    return TRUE;
}

} // extern "C"
