#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "CPrinterSetup.h"
#include "CSharedMemory.h"
#include "IShellHost.h"
#include "ISpooler.h"
#include "QntSharedRecord.h"

// The library's one print-job object behind the exported functions: the
// shared page record, the saved default printer, the page image bounds and
// the printer set-up.
class CVirtualPrinter
{
public:
    struct Places
    {
        std::string hostFolder; // the host program's folder, ending in a backslash
        std::string mappingName = QNT_MAPPING_NAME_DEFAULT;
        std::string settingsPath = QNT_SETTINGS_PATH_DEFAULT;
    };
    static const char* const QNT_MAPPING_NAME_DEFAULT;
    static const char* const QNT_SETTINGS_PATH_DEFAULT;

    CVirtualPrinter(ISpooler& spooler, IShellHost& shell, const Places& places);

    int Install() { return m_setup.Install(); }
    int UnInstall() { return m_setup.UnInstall(); }
    int Init(const char* folder);
    int Print(HWND owner, const char* path, int formatSwitch, const char* extension, int colour,
              int fit);
    uint32_t GetStatus();
    uint32_t GetPages();
    int GetFileName(char** names);
    int* GetBmpSize(int* size) const;
    int SetBmpSize(const int* size);
    int Release();

    // Shrinks width and height into the bounds, keeping the aspect; false when
    // the image already fits.
    static bool FitToBounds(int32_t& width, int32_t& height, int32_t boundWidth,
                            int32_t boundHeight);
    // The image printed for picture documents: <host>Temp\_temp.bmp.
    std::string TempImagePath() const;

private:
    bool PrintImage(HWND owner, const std::string& image, int fit);
    bool FitImage(const std::string& image);
    // A copy of the shared record, taken under its mutex; false before Init
    // or when the record cannot be read.
    bool ReadRecord(QNT_SHARED_RECORD& record);

    ISpooler& m_spooler;
    IShellHost& m_shell;
    Places m_places;
    CPrinterSetup m_setup;
    CSharedMemory m_memory;
    void* m_record = nullptr;
    std::string m_savedDefault;
    int32_t m_boundWidth = 545;
    int32_t m_boundHeight = 825;
    uint32_t m_reportedPages = 0;
};
