#pragma once
#include <cstdint>

// The record through which the client tells the print processor where and
// how to write the pages of a job, in a named mapping guarded by a named
// mutex (the mapping's name followed by "Mutex"). Strings are ANSI,
// zero-terminated within their field.
#pragma pack(push, 1)
struct VPRINT_LINK_RECORD
{
    char printerTag[128];    // "TobrinVirtualPrinter"
    char outputFolder[1024]; // the client's folder + "Temp", no trailing backslash
    char documentName[1024]; // the printed file's name, no folder, no last extension
    char format[12];         // "emf"
    uint32_t reserved;       // 0 when a print starts
    uint32_t started;        // 1 when a print starts
};
#pragma pack(pop)
static_assert(sizeof(VPRINT_LINK_RECORD) == 2196, "virtual printer link record");

#define VPRINT_MAPPING_NAME "DorvaneShareMemoryFileName"
#define VPRINT_PRINTER_TAG "TobrinVirtualPrinter"
#define VPRINT_PRINTER_NAME "Gastrel"
// The printer driver the virtual printer is installed with.
#define VPRINT_DRIVER_NAME "Lenovo LJ5600"
#define VPRINT_PROC_CAPTION "Varn_Print_Proc"
#define VPRINT_PROC_KEY                                                                            \
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print "              \
    "Processors\\tanproc"
// wParam of the print processor's report when the pages are written.
#define VPRINT_PAGES_WRITTEN 3
