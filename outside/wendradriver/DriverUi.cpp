// Stand-in for the configuration part of the virtual printer's driver: the
// spooler asks it for the printer's default device mode and merges a
// caller's changes into it. Nothing else of the driver's user interface.
#include <windows.h>

#include <cstddef>
#include <cstring>

namespace {
// The header the spooler hands in when it wants device-mode data only.
struct DocumentPropertyHeader
{
    WORD cbSize;
    WORD reserved;
    HANDLE printer;
    LPWSTR printerName;
    DEVMODEW* in;
    DEVMODEW* out;
    DWORD cbOut;
    DWORD mode;
};

void DefaultMode(DEVMODEW& dm, const WCHAR* printerName)
{
    memset(&dm, 0, sizeof dm);
    if (printerName)
        lstrcpynW(dm.dmDeviceName, printerName, CCHDEVICENAME);
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmSize = sizeof dm;
    dm.dmFields =
        DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_COLOR | DM_YRESOLUTION;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmPaperSize = DMPAPER_A4;
    dm.dmCopies = 1;
    dm.dmPrintQuality = 300;
    dm.dmYResolution = 300;
    dm.dmColor = DMCOLOR_MONOCHROME;
}

void Merge(DEVMODEW& dm, const DEVMODEW& in)
{
    if (in.dmSize < offsetof(DEVMODEW, dmYResolution) + sizeof(short))
        return;
    if (in.dmFields & DM_ORIENTATION)
        dm.dmOrientation = in.dmOrientation;
    if (in.dmFields & DM_PAPERSIZE)
        dm.dmPaperSize = in.dmPaperSize;
    if (in.dmFields & DM_COPIES)
        dm.dmCopies = in.dmCopies;
    if (in.dmFields & DM_PRINTQUALITY)
        dm.dmPrintQuality = in.dmPrintQuality;
    if (in.dmFields & DM_COLOR)
        dm.dmColor = in.dmColor;
    if (in.dmFields & DM_YRESOLUTION)
        dm.dmYResolution = in.dmYResolution;
}
} // namespace

extern "C" LONG WINAPI DrvDocumentPropertySheets(void* sheetInfo, LPARAM lParam)
{
    DocumentPropertyHeader* header = reinterpret_cast<DocumentPropertyHeader*>(lParam);
    if (sheetInfo || !header)
        return -1;
    if (header->mode == 0 || !header->out) {
        header->cbOut = sizeof(DEVMODEW);
        return sizeof(DEVMODEW);
    }
    DEVMODEW dm;
    DefaultMode(dm, header->printerName);
    if ((header->mode & DM_IN_BUFFER) && header->in)
        Merge(dm, *header->in);
    if (header->cbOut && header->cbOut < sizeof dm)
        return -1;
    memcpy(header->out, &dm, sizeof dm);
    return IDOK;
}

extern "C" DWORD WINAPI DrvDeviceCapabilities(HANDLE, const WCHAR*, WORD capability, void*,
                                              const DEVMODEW*)
{
    switch (capability) {
    case DC_COLORDEVICE:
        return 1;
    case DC_COPIES:
        return 1;
    default:
        return 0;
    }
}
