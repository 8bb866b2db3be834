#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "QntSharedRecord.h"

// Reads and writes the shared page record inside a mapped view. Every access
// checks the view holds a whole record; texts that do not fit their fields
// are refused rather than cut, so page names never point somewhere else.
// Callers hold the record's mutex.
class CSharedRecord
{
public:
    struct Job
    {
        std::string baseName;
        std::string extension;
        std::string autoExec;
        uint32_t colour = 0;
        uint32_t format = 0;
    };

    // Zeroes the record, then writes the tag and the output folder.
    static bool Reset(void* view, size_t size, const char* folder);
    // Writes the job fields, pages 0 and status 1.
    static bool WriteJob(void* view, size_t size, const Job& job);
    static bool Read(const void* view, size_t size, QNT_SHARED_RECORD& out);
    static bool SetProgress(void* view, size_t size, uint32_t pages, uint32_t status);

    // A field's text up to its terminator or the end of the field.
    static std::string Text(const char* field, size_t fieldSize);
    template <size_t N>
    static std::string Text(const char (&field)[N])
    {
        return Text(field, N);
    }
    // "<folder>\<base><page>.<extension>"; false when it does not fit capacity.
    static bool PageName(const QNT_SHARED_RECORD& record, uint32_t page, char* out,
                         size_t capacity);
    static std::string PageName(const QNT_SHARED_RECORD& record, uint32_t page);

private:
    static bool Fits(const std::string& text, size_t fieldSize);
    static void Put(char* field, size_t fieldSize, const std::string& text);
};
