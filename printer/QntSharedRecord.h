#pragma once
#include <cstddef>
#include <cstdint>

// The page record shared with the printer's driver side through named shared
// memory. Every text is zero-terminated within its field.
#pragma pack(push, 1)
struct QNT_SHARED_RECORD
{
    char tag[128];       // "MorlentVirtualPrinter"
    char folder[1024];   // output folder of the page files
    char baseName[1024]; // printed document's name without folder and extension
    char extension[12];  // page file extension, without the dot
    char autoExec[1024]; // program the driver side runs after the job
    uint32_t colour;
    uint32_t format; // 1 when the job asked for format 0, else 0
    uint32_t pages;  // pages written so far, kept by the driver side
    uint32_t status; // 1 while a job is handed over; then the driver side's
};
#pragma pack(pop)

static_assert(sizeof(QNT_SHARED_RECORD) == 3228, "shared record layout");
static_assert(offsetof(QNT_SHARED_RECORD, folder) == 128, "folder offset");
static_assert(offsetof(QNT_SHARED_RECORD, baseName) == 1152, "base name offset");
static_assert(offsetof(QNT_SHARED_RECORD, extension) == 2176, "extension offset");
static_assert(offsetof(QNT_SHARED_RECORD, autoExec) == 2188, "auto-exec offset");
static_assert(offsetof(QNT_SHARED_RECORD, colour) == 3212, "colour offset");
static_assert(offsetof(QNT_SHARED_RECORD, format) == 3216, "format offset");
static_assert(offsetof(QNT_SHARED_RECORD, pages) == 3220, "pages offset");
static_assert(offsetof(QNT_SHARED_RECORD, status) == 3224, "status offset");

#define QNT_MAPPING_NAME "Morlent_SharedMemory"
#define QNT_RECORD_TAG "MorlentVirtualPrinter"
#define QNT_SETTINGS_FILE "C:\\Wendra.ini"
