// TanprocPrint [-mapping name] [-fail] <document>
//
// Prints a text document into the whiteboard's virtual printer the way the
// real chain does: pages are separated by form feeds; each becomes
// "<n>.emf" in the folder <output folder>\<document name>, which is stored
// in the processor's "FileDir" value before the report (0x24B2, wParam 3)
// goes to the window "Varn_Print_Proc" (of the client whose folder the
// record names, when several run). A failure (no link record, a
// document that cannot be read, -fail) is reported with wParam 4.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "VirtualPrinterRecord.h"
#include "WireReader.h"

namespace {
const UINT kPrintDone = 0x24B2;

struct LinkFields
{
    std::string tag, folder, document, format;
    uint32_t started = 0;
};

std::string Field(WireReader& r, size_t size)
{
    std::vector<char> bytes(size + 1, 0);
    r.Bytes(bytes.data(), size);
    return std::string(bytes.data());
}

bool ReadLink(const std::string& mapping, LinkFields* out)
{
    HANDLE mutex =
        ::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, (mapping + "Mutex").c_str());
    HANDLE map = ::OpenFileMappingA(FILE_MAP_READ, FALSE, mapping.c_str());
    if (!mutex || !map) {
        if (mutex)
            ::CloseHandle(mutex);
        if (map)
            ::CloseHandle(map);
        return false;
    }
    bool ok = false;
    if (const void* view = ::MapViewOfFile(map, FILE_MAP_READ, 0, 0, sizeof(VPRINT_LINK_RECORD))) {
        DWORD wait = ::WaitForSingleObject(mutex, 10000);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            WireReader r(view, sizeof(VPRINT_LINK_RECORD));
            out->tag = Field(r, 128);
            out->folder = Field(r, 1024);
            out->document = Field(r, 1024);
            out->format = Field(r, 12);
            uint32_t reserved = 0;
            r.U32(reserved);
            r.U32(out->started);
            ok = r.Ok();
            ::ReleaseMutex(mutex);
        }
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(map);
    ::CloseHandle(mutex);
    return ok;
}

bool ReadDocument(const char* path, std::vector<std::string>* pages)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    fclose(f);
    size_t start = 0;
    for (;;) {
        size_t ff = text.find('\f', start);
        pages->push_back(
            text.substr(start, ff == std::string::npos ? std::string::npos : ff - start));
        if (ff == std::string::npos)
            break;
        start = ff + 1;
    }
    return true;
}

// One page as an enhanced metafile of 600 x 800 pixels: white paper, a
// frame, the page's lines of text and its number.
bool WritePage(const std::string& path, const std::string& text, int number)
{
    HDC screen = ::GetDC(NULL);
    const int mmX = ::GetDeviceCaps(screen, HORZSIZE), mmY = ::GetDeviceCaps(screen, VERTSIZE);
    const int pxX = ::GetDeviceCaps(screen, HORZRES), pxY = ::GetDeviceCaps(screen, VERTRES);
    RECT frame = {0, 0, MulDiv(600, mmX * 100, pxX), MulDiv(800, mmY * 100, pxY)};
    HDC dc = ::CreateEnhMetaFileA(screen, path.c_str(), &frame, "TanprocPrint\0page\0");
    ::ReleaseDC(NULL, screen);
    if (!dc)
        return false;
    RECT paper = {0, 0, 600, 800};
    ::FillRect(dc, &paper, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, 10, 10, 590, 790);
    int y = 30;
    size_t start = 0;
    while (start <= text.size() && y < 760) {
        size_t end = text.find('\n', start);
        std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ::TextOutA(dc, 30, y, line.c_str(), (int)line.size());
        y += 20;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    char label[32];
    sprintf(label, "- %d -", number);
    ::TextOutA(dc, 280, 765, label, (int)strlen(label));
    HENHMETAFILE emf = ::CloseEnhMetaFile(dc);
    if (!emf)
        return false;
    ::DeleteEnhMetaFile(emf);
    return true;
}

struct REPORT_TARGET
{
    std::string outputFolder;
    HWND found;
};

// The hidden window of the client whose program folder + "Temp" is the
// output folder the job read: with two clients on one desktop, the one that
// set up the record gets the report.
BOOL CALLBACK MatchClient(HWND wnd, LPARAM param)
{
    REPORT_TARGET* target = (REPORT_TARGET*)param;
    char caption[64] = {0};
    ::GetWindowTextA(wnd, caption, sizeof caption);
    if (strcmp(caption, VPRINT_PROC_CAPTION) != 0)
        return TRUE;
    DWORD id = 0;
    ::GetWindowThreadProcessId(wnd, &id);
    char path[MAX_PATH] = {0};
    if (HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id)) {
        ::GetModuleFileNameExA(process, NULL, path, MAX_PATH);
        ::CloseHandle(process);
    }
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "Temp";
    if (!path[0] || _stricmp(folder.c_str(), target->outputFolder.c_str()) != 0)
        return TRUE;
    target->found = wnd;
    return FALSE;
}

void Report(WPARAM result, const std::string& outputFolder)
{
    HWND target = NULL;
    // The client's window may still be coming up: wait a little for it.
    for (int i = 0; i < 50 && !target; ++i) {
        REPORT_TARGET search = {outputFolder, NULL};
        if (!outputFolder.empty())
            ::EnumWindows(MatchClient, (LPARAM)&search);
        target = search.found ? search.found : ::FindWindowA(NULL, VPRINT_PROC_CAPTION);
        if (!target)
            ::Sleep(100);
    }
    if (target) {
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(target, kPrintDone, result, 0, SMTO_NORMAL, 10000, &answer);
    }
}

int Run(int argc, char** argv)
{
    std::string mapping = VPRINT_MAPPING_NAME;
    bool fail = false;
    const char* document = NULL;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "-mapping") == 0 && i + 1 < argc)
            mapping = argv[++i];
        else if (strcmp(argv[i], "-fail") == 0)
            fail = true;
        else
            document = argv[i];
    }
    LinkFields link;
    std::vector<std::string> pages;
    if (fail || !document || !ReadLink(mapping, &link) || link.tag != VPRINT_PRINTER_TAG ||
        link.started != 1 || link.folder.empty() || !ReadDocument(document, &pages)) {
        Report(4, link.folder);
        return 1;
    }
    std::string name = link.document.empty() ? "document" : link.document;
    std::string folder = link.folder + "\\" + name;
    ::CreateDirectoryA(link.folder.c_str(), NULL);
    ::CreateDirectoryA(folder.c_str(), NULL);
    // Pages of an earlier job of the same name go first.
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((folder + "\\*.emf").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileA((folder + "\\" + fd.cFileName).c_str());
        while (::FindNextFileA(find, &fd));
        ::FindClose(find);
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        char file[32];
        sprintf(file, "\\%u.emf", (unsigned)(i + 1));
        if (!WritePage(folder + file, pages[i], (int)i + 1)) {
            Report(4, link.folder);
            return 1;
        }
    }
    HKEY key = NULL;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VPRINT_PROC_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL,
                          &key, NULL) != ERROR_SUCCESS) {
        Report(4, link.folder);
        return 1;
    }
    ::RegSetValueExA(key, "FileDir", 0, REG_SZ, (const BYTE*)folder.c_str(),
                     (DWORD)folder.size() + 1);
    ::RegCloseKey(key);
    Report(VPRINT_PAGES_WRITTEN, link.folder);
    return 0;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Run(__argc, __argv); }
