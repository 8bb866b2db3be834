#pragma once
#include "IPrinterPlatform.h"

// Makes a printer the system's default with the older spooler and profile
// calls: on the 9x family its default attribute is set, on the NT family
// the user profile's [windows] "device" entry names it; every top-level
// window then hears of the change.
class CDefaultPrinter
{
public:
    // 1 (and *done 1) on success, 0 (and *done 0) on any failure, also on a
    // platform of neither family.
    static int Switch(const char* printer, int* done);
    static int Switch(const char* printer, int* done, IPrinterPlatform& platform);
};
