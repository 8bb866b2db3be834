#pragma once
#include "VirtualPrinterRecord.h"
#include "afxwin.h"

#include <string>
#include <vector>

// The client's side of its virtual printer: the shared record the print
// processor reads, the system default printer switched to the virtual one
// for a print and back, the print itself through the shell, and the page
// files the print processor reports.
class CVirtualPrinterLink
{
public:
    enum { STATUS_IDLE = 0, STATUS_READY = 3, STATUS_FAILED = 4 };
    enum { FIELD_CHARS = 1023 };

    // Names other than the system's are for tests.
    explicit CVirtualPrinterLink(LPCTSTR lpszMapping = VPRINT_MAPPING_NAME,
                                 LPCTSTR lpszPrinter = VPRINT_PRINTER_NAME);
    ~CVirtualPrinterLink();

    BOOL Init(LPCTSTR lpszOutputFolder);
    BOOL Print(HWND hOwner, LPCTSTR lpszDocument);
    int GetStatus();
    void CollectPages();
    int GetPageCount() const { return (int)m_pages.size(); }
    // Copies each page path (at most MAX_PATH - 1 bytes) into out[i].
    int GetPageFiles(char** out) const;
    void Reset();
    void RestoreDefaultPrinter();
    // The print processor's report (the hidden window's message): the new status.
    int OnPrintDone(WPARAM wParam);

    const std::string& GetPageFolder() const { return m_pageFolder; }
    void SetPageFolder(LPCTSTR lpszFolder) { m_pageFolder = lpszFolder ? lpszFolder : ""; }
    const std::string& GetSavedPrinter() const { return m_savedPrinter; }
    const VPRINT_LINK_RECORD* GetRecord() const { return m_pRecord; }
    // The document name a path is printed under.
    static std::string DocumentName(LPCTSTR lpszPath);

    // The process-wide link.
    static CVirtualPrinterLink& Instance();

private:
    void Close();

    int m_status;
    std::string m_pageFolder;
    std::vector<std::string> m_pages;
    VPRINT_LINK_RECORD* m_pRecord;
    HANDLE m_hMapping;
    std::string m_mutexName;
    HANDLE m_hMutex;
    std::string m_mappingName;
    std::string m_printerName;
    std::string m_savedPrinter;
};

// The system default printer, by Windows version. On failure the size
// holds the length needed (terminating zero included).
BOOL GetDefaultPrinterName(char* buffer, int* size, BOOL* ok);
BOOL SetDefaultPrinterName(LPCTSTR lpszName, BOOL* ok);
// Installs the print processor and the virtual printer; TRUE on success.
BOOL InstallVirtualPrinter();
