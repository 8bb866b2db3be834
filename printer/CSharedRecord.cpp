#include "CSharedRecord.h"

#include <cstdio>
#include <cstring>

#include "WireReader.h"
#include "WireWriter.h"

bool CSharedRecord::Fits(const std::string& text, size_t fieldSize)
{
    return text.size() < fieldSize && text.find('\0') == std::string::npos;
}

void CSharedRecord::Put(char* field, size_t fieldSize, const std::string& text)
{
    memset(field, 0, fieldSize);
    memcpy(field, text.data(), text.size());
}

std::string CSharedRecord::Text(const char* field, size_t fieldSize)
{
    size_t n = 0;
    while (n < fieldSize && field[n])
        ++n;
    return std::string(field, n);
}

bool CSharedRecord::Read(const void* view, size_t size, QNT_SHARED_RECORD& out)
{
    WireReader reader(view, size);
    return reader.Record(out);
}

bool CSharedRecord::Reset(void* view, size_t size, const char* folder)
{
    if (!folder)
        return false;
    std::string path = folder;
    if (size < sizeof(QNT_SHARED_RECORD) || !Fits(path, sizeof(QNT_SHARED_RECORD::folder)))
        return false;
    QNT_SHARED_RECORD record;
    memset(&record, 0, sizeof record);
    Put(record.tag, sizeof record.tag, QNT_RECORD_TAG);
    Put(record.folder, sizeof record.folder, path);
    WireWriter writer(view, size);
    return writer.Record(record);
}

bool CSharedRecord::WriteJob(void* view, size_t size, const Job& job)
{
    QNT_SHARED_RECORD record;
    if (!Read(view, size, record))
        return false;
    if (!Fits(job.baseName, sizeof record.baseName) ||
        !Fits(job.extension, sizeof record.extension) ||
        !Fits(job.autoExec, sizeof record.autoExec))
        return false;
    Put(record.baseName, sizeof record.baseName, job.baseName);
    Put(record.extension, sizeof record.extension, job.extension);
    Put(record.autoExec, sizeof record.autoExec, job.autoExec);
    record.colour = job.colour;
    record.format = job.format;
    record.pages = 0;
    record.status = 1;
    WireWriter writer(view, size);
    return writer.Record(record);
}

bool CSharedRecord::SetProgress(void* view, size_t size, uint32_t pages, uint32_t status)
{
    if (size < sizeof(QNT_SHARED_RECORD))
        return false;
    WireWriter writer(view, size);
    return writer.Seek(offsetof(QNT_SHARED_RECORD, pages)) && writer.U32(pages) &&
           writer.U32(status);
}

std::string CSharedRecord::PageName(const QNT_SHARED_RECORD& record, uint32_t page)
{
    return Text(record.folder) + "\\" + Text(record.baseName) + std::to_string(page) + "." +
           Text(record.extension);
}

bool CSharedRecord::PageName(const QNT_SHARED_RECORD& record, uint32_t page, char* out,
                             size_t capacity)
{
    if (!out || capacity == 0)
        return false;
    std::string name = PageName(record, page);
    if (name.size() >= capacity) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, name.c_str(), name.size() + 1);
    return true;
}
