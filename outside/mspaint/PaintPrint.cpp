// Stand-in for the system's paint program, which Wine does not have. Only
// its print command is offered:
//
//   mspaint.exe /p <image>
//
// The image must arrive as one argument (quoted when it holds spaces). It is
// printed on the default printer. Wine cannot run the virtual printer's own
// driver, so a job for that printer is handed to the driver-side stand-in
// WendraDriver.exe beside this program, the way the spooler would hand the
// rendered page to the driver. Exit code 0 when the page was printed.
#include <windows.h>
#include <winspool.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
const char kVirtualDriver[] = "morlent virtual printer";
const DWORD kDriverWaitMs = 30000;

std::string Narrow(const WCHAR* text)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 1, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

std::string DefaultPrinterDriver()
{
    char name[512] = {};
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size))
        return std::string();
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name, &printer, nullptr))
        return std::string();
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::string driver;
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (needed && GetPrinterA(printer, 2, buffer.data(), needed, &needed)) {
        const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        driver = info->pDriverName ? info->pDriverName : "";
    }
    ClosePrinter(printer);
    return driver;
}

int RunDriverSide(const std::string& image)
{
    char self[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder(self, n);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    std::string command = "\"" + folder + "WendraDriver.exe\" \"" + image + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        fprintf(stderr, "mspaint: cannot start the driver side\n");
        return 4;
    }
    DWORD code = 5;
    if (WaitForSingleObject(pi.hProcess, kDriverWaitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}
} // namespace

int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3 || lstrcmpiW(argv[1], L"/p") != 0) {
        fprintf(stderr, "usage: mspaint.exe /p <image>\n");
        return 2;
    }
    std::string image = Narrow(argv[2]);
    LocalFree(argv);

    HANDLE bitmap = LoadImageA(nullptr, image.c_str(), IMAGE_BITMAP, 0, 0,
                               LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!bitmap) {
        fprintf(stderr, "mspaint: cannot open %s\n", image.c_str());
        return 3;
    }
    DeleteObject(bitmap);

    if (lstrcmpiA(DefaultPrinterDriver().c_str(), kVirtualDriver) != 0) {
        fprintf(stderr, "mspaint: the default printer cannot print here\n");
        return 6;
    }
    return RunDriverSide(image);
}
