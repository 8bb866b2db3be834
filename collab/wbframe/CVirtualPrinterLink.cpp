#include "CVirtualPrinterLink.h"

#include "ClientLog.h"
#include "WireWriter.h"

#include <winspool.h>

#include <algorithm>
#include <stddef.h>
#include <string.h>
#include <stdlib.h>

namespace {
// Copies text into a field of size bytes, cut to size - 1 and terminated.
void CopyField(char* field, size_t size, const char* text)
{
    size_t n = text ? strnlen(text, size - 1) : 0;
    if (n)
        memcpy(field, text, n);
    memset(field + n, 0, size - n);
}

// Writes text into the field of the shared record at offset, cut to the
// field's size less one and terminated.
void WriteField(VPRINT_LINK_RECORD* record, size_t offset, size_t size, const char* text)
{
    WireWriter w(record, sizeof *record);
    size_t n = text ? strnlen(text, size - 1) : 0;
    w.Seek(offset);
    w.Bytes(text, n);
    w.Zeros(size - n);
}

class MutexHold
{
public:
    explicit MutexHold(HANDLE mutex) : m_mutex(mutex)
    {
        DWORD r = m_mutex ? ::WaitForSingleObject(m_mutex, INFINITE) : WAIT_FAILED;
        m_held = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    ~MutexHold()
    {
        if (m_held)
            ::ReleaseMutex(m_mutex);
    }

private:
    HANDLE m_mutex;
    bool m_held;
};

void BroadcastPrinterChange(const char* section)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM)section, SMTO_NORMAL, 1000,
                          &result);
}
} // namespace

CVirtualPrinterLink& CVirtualPrinterLink::Instance()
{
    static CVirtualPrinterLink link;
    return link;
}

CVirtualPrinterLink::CVirtualPrinterLink(LPCTSTR lpszMapping, LPCTSTR lpszPrinter)
    : m_status(STATUS_IDLE), m_pRecord(NULL), m_hMapping(NULL), m_hMutex(NULL),
      m_mappingName(lpszMapping ? lpszMapping : VPRINT_MAPPING_NAME),
      m_printerName(lpszPrinter ? lpszPrinter : VPRINT_PRINTER_NAME)
{
    m_mutexName = m_mappingName + "Mutex";
}

CVirtualPrinterLink::~CVirtualPrinterLink() { Close(); }

void CVirtualPrinterLink::Close()
{
    if (m_pRecord)
        ::UnmapViewOfFile(m_pRecord);
    m_pRecord = NULL;
    if (m_hMapping)
        ::CloseHandle(m_hMapping);
    m_hMapping = NULL;
    if (m_hMutex)
        ::CloseHandle(m_hMutex);
    m_hMutex = NULL;
}

BOOL CVirtualPrinterLink::Init(LPCTSTR lpszOutputFolder)
{
    if (!m_hMutex)
        m_hMutex = ::CreateMutexA(NULL, FALSE, m_mutexName.c_str());
    if (!m_pRecord) {
        if (!m_hMapping)
            m_hMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                              sizeof(VPRINT_LINK_RECORD), m_mappingName.c_str());
        if (!m_hMapping)
            return FALSE;
        m_pRecord = (VPRINT_LINK_RECORD*)::MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0,
                                                         sizeof(VPRINT_LINK_RECORD));
        if (!m_pRecord) {
            ::CloseHandle(m_hMapping);
            m_hMapping = NULL;
            return FALSE;
        }
    }
    {
        MutexHold hold(m_hMutex);
        WireWriter(m_pRecord, sizeof *m_pRecord).Zeros(sizeof *m_pRecord);
        WriteField(m_pRecord, offsetof(VPRINT_LINK_RECORD, printerTag), 128, VPRINT_PRINTER_TAG);
        WriteField(m_pRecord, offsetof(VPRINT_LINK_RECORD, outputFolder), 1024, lpszOutputFolder);
        WriteField(m_pRecord, offsetof(VPRINT_LINK_RECORD, format), 12, "emf");
    }
    char name[256] = {0};
    int size = sizeof name;
    BOOL ok = FALSE;
    if (GetDefaultPrinterName(name, &size, &ok))
        m_savedPrinter = name;
    else
        m_savedPrinter.clear();
    return TRUE;
}

std::string CVirtualPrinterLink::DocumentName(LPCTSTR lpszPath)
{
    std::string name = lpszPath ? lpszPath : "";
    size_t slash = name.find_last_of('\\');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

BOOL CVirtualPrinterLink::Print(HWND hOwner, LPCTSTR lpszDocument)
{
    if (!m_pRecord || !lpszDocument || !*lpszDocument)
        return FALSE;
    BOOL ok = FALSE;
    if (!SetDefaultPrinterName(m_printerName.c_str(), &ok))
        return FALSE;
    {
        MutexHold hold(m_hMutex);
        WriteField(m_pRecord, offsetof(VPRINT_LINK_RECORD, documentName), 1024,
                   DocumentName(lpszDocument).c_str());
        WriteField(m_pRecord, offsetof(VPRINT_LINK_RECORD, format), 12, "emf");
        WireWriter w(m_pRecord, sizeof *m_pRecord);
        w.Seek(offsetof(VPRINT_LINK_RECORD, reserved));
        w.U32(0);
        w.U32(1);
    }
    HINSTANCE r = ::ShellExecuteA(hOwner, "print", lpszDocument, NULL, NULL, SW_SHOW);
    return (INT_PTR)r > 32;
}

int CVirtualPrinterLink::OnPrintDone(WPARAM wParam)
{
    if (wParam != VPRINT_PAGES_WRITTEN) {
        m_status = STATUS_FAILED;
        return m_status;
    }
    HKEY key = NULL;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VPRINT_PROC_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                          &key, NULL) != ERROR_SUCCESS) {
        m_status = STATUS_FAILED;
        return m_status;
    }
    char folder[257] = {0};
    DWORD size = 256, type = 0;
    if (::RegQueryValueExA(key, "FileDir", NULL, &type, (BYTE*)folder, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        folder[std::min<DWORD>(size, 256)] = 0;
        m_pageFolder = folder;
        m_status = STATUS_READY;
    } else {
        m_status = STATUS_FAILED;
    }
    ::RegCloseKey(key);
    return m_status;
}

int CVirtualPrinterLink::GetStatus()
{
    if (m_status == STATUS_READY)
        CollectPages();
    return m_status;
}

void CVirtualPrinterLink::CollectPages()
{
    m_pages.clear();
    std::string pattern = m_pageFolder + "\\*.emf";
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(fd.cFileName);
        } while (::FindNextFileA(find, &fd));
        ::FindClose(find);
    }
    m_pages.resize(names.size());
    for (const std::string& name : names) {
        // The pages are named by their number: "1.emf", "2.emf" and so on.
        // A name whose number lies outside 1..count is not a page of this job.
        const char* p = name.c_str();
        if (*p < '0' || *p > '9')
            continue;
        char* end = NULL;
        unsigned long n = strtoul(p, &end, 10);
        if (_stricmp(end, ".emf") != 0 || n < 1 || n > m_pages.size())
            continue;
        m_pages[n - 1] = m_pageFolder + "\\" + name;
    }
    // Numbers missing from the folder leave no holes in the page list.
    m_pages.erase(std::remove(m_pages.begin(), m_pages.end(), std::string()), m_pages.end());
}

int CVirtualPrinterLink::GetPageFiles(char** out) const
{
    if (!out)
        return 0;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (!out[i])
            continue;
        CopyField(out[i], MAX_PATH, m_pages[i].c_str());
    }
    return (int)m_pages.size();
}

void CVirtualPrinterLink::Reset()
{
    m_status = STATUS_IDLE;
    m_pageFolder.clear();
    m_pages.clear();
}

void CVirtualPrinterLink::RestoreDefaultPrinter()
{
    if (m_savedPrinter.empty())
        return;
    BOOL ok = FALSE;
    SetDefaultPrinterName(m_savedPrinter.c_str(), &ok);
}

// ---------------------------------------------------------------- default printer

BOOL GetDefaultPrinterName(char* buffer, int* size, BOOL* ok)
{
    BOOL result = FALSE;
    if (ok)
        *ok = FALSE;
    if (!buffer || !size || *size <= 0)
        return FALSE;
    OSVERSIONINFOA os = {sizeof os};
    if (!::GetVersionExA(&os))
        return FALSE;
    if (os.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        DWORD needed = 0, count = 0;
        ::EnumPrintersA(PRINTER_ENUM_DEFAULT, NULL, 2, NULL, 0, &needed, &count);
        if (needed > 0) {
            std::vector<BYTE> info(needed);
            if (::EnumPrintersA(PRINTER_ENUM_DEFAULT, NULL, 2, info.data(), needed, &needed,
                                &count) &&
                count > 0) {
                const char* name = ((PRINTER_INFO_2A*)info.data())->pPrinterName;
                int length = name ? (int)strlen(name) + 1 : 1;
                if (length <= *size) {
                    CopyField(buffer, length, name);
                    result = TRUE;
                }
                *size = length;
            }
        }
    } else if (os.dwMajorVersion >= 5) {
        DWORD n = (DWORD)*size;
        result = ::GetDefaultPrinterA(buffer, &n);
        *size = (int)n;
    } else {
        char device[251] = {0};
        ::GetProfileStringA("windows", "device", ",,,", device, 250);
        char* comma = strchr(device, ',');
        if (comma)
            *comma = 0;
        int length = (int)strlen(device) + 1;
        if (length <= *size && device[0]) {
            memcpy(buffer, device, length);
            result = TRUE;
        }
        *size = length;
    }
    if (ok)
        *ok = result;
    return result;
}

BOOL SetDefaultPrinterName(LPCTSTR lpszName, BOOL* ok)
{
    BOOL result = FALSE;
    if (ok)
        *ok = FALSE;
    if (!lpszName || !*lpszName)
        return FALSE;
    OSVERSIONINFOA os = {sizeof os};
    if (!::GetVersionExA(&os))
        return FALSE;
    if (os.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS || os.dwMajorVersion < 5) {
        HANDLE printer = NULL;
        if (!::OpenPrinterA((LPSTR)lpszName, &printer, NULL))
            return FALSE;
        DWORD needed = 0;
        ::GetPrinterA(printer, 2, NULL, 0, &needed);
        std::vector<BYTE> info(needed ? needed : 1);
        if (needed && ::GetPrinterA(printer, 2, info.data(), needed, &needed)) {
            PRINTER_INFO_2A* pi = (PRINTER_INFO_2A*)info.data();
            if (os.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
                pi->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
                result = ::SetPrinterA(printer, 2, info.data(), 0);
                if (result)
                    BroadcastPrinterChange("windows");
            } else if (pi->pDriverName && pi->pPortName) {
                std::string device =
                    std::string(lpszName) + "," + pi->pDriverName + "," + pi->pPortName;
                result = ::WriteProfileStringA("windows", "device", device.c_str());
                if (result)
                    BroadcastPrinterChange(NULL);
            }
        }
        ::ClosePrinter(printer);
    } else {
        result = ::SetDefaultPrinterA(lpszName);
        if (result)
            BroadcastPrinterChange(NULL);
    }
    if (ok)
        *ok = result;
    return result;
}

// ---------------------------------------------------------------- installation

BOOL InstallVirtualPrinter()
{
    ::CreateDirectoryA("C:\\PrintDir", NULL);
    char windir[256] = {0};
    ::GetEnvironmentVariableA("windir", windir, 255);
    std::string destination =
        std::string(windir) + "\\system32\\spool\\prtprocs\\w32x86\\tanproc.dll";
    OSVERSIONINFOA os = {sizeof os};
    if (!::GetVersionExA(&os))
        return FALSE;
    char program[MAX_PATH] = {0};
    ::GetModuleFileNameA(NULL, program, MAX_PATH);
    if (char* slash = strrchr(program, '\\'))
        slash[1] = 0;
    if (os.dwPlatformId == VER_PLATFORM_WIN32_NT || os.dwMajorVersion == 5) {
        std::string source = std::string(program) +
                             (os.dwMinorVersion == 0 ? "2000\\tanproc.dll" : "xp\\tanproc.dll");
        ::CopyFileA(source.c_str(), destination.c_str(), FALSE); // a failed copy is not an error
    }
    BYTE list[400];
    DWORD needed = 0, count = 0;
    bool present = false;
    if (::EnumPrintProcessorsA(NULL, NULL, 1, list, sizeof list, &needed, &count)) {
        const PRINTPROCESSOR_INFO_1A* procs = (const PRINTPROCESSOR_INFO_1A*)list;
        for (DWORD i = 0; i < count; ++i)
            if (procs[i].pName && _stricmp(procs[i].pName, "tanproc") == 0)
                present = true;
    }
    if (!present && !::AddPrintProcessorA(NULL, NULL, (LPSTR) "tanproc.dll", (LPSTR) "tanproc"))
        g_Log.Write(1, "error to AddPrinter %s, %d\r\n", destination.c_str(),
                    (int)::GetLastError());
    HKEY key = NULL;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VPRINT_PROC_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                          &key, NULL) != ERROR_SUCCESS) {
        g_Log.Write(1, "error to reg.Create\r\n");
        return FALSE;
    }
    ::RegSetValueExA(key, "FileDir", 0, REG_SZ, (const BYTE*)" ", 2);
    ::RegSetValueExA(key, "DestDir", 0, REG_SZ, (const BYTE*)"C:\\PrintDir", 12);
    ::RegCloseKey(key);
    HANDLE printer = NULL;
    if (::OpenPrinterA((LPSTR)VPRINT_PRINTER_NAME, &printer, NULL)) {
        ::ClosePrinter(printer);
        return TRUE;
    }
    PRINTER_INFO_2A info = {};
    info.pPrinterName = (LPSTR)VPRINT_PRINTER_NAME;
    info.pPortName = (LPSTR) "LPT3:";
    info.pDriverName = (LPSTR)VPRINT_DRIVER_NAME;
    info.pPrintProcessor = (LPSTR) "tanproc";
    // Every other text is empty, not missing: the spooler refuses a
    // printer without a data type.
    char empty[1] = {0};
    info.pShareName = info.pComment = info.pLocation = info.pSepFile = info.pParameters =
        info.pDatatype = empty;
    printer = ::AddPrinterA(NULL, 2, (BYTE*)&info);
    if (printer) {
        ::ClosePrinter(printer);
        return TRUE;
    }
    DWORD error = ::GetLastError();
    if (error == ERROR_PRINTER_ALREADY_EXISTS)
        return TRUE;
    g_Log.Write(1, "error to AddPrinter%d\r\n", (int)error);
    return FALSE;
}
