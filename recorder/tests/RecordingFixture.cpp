#include "RecordingFixture.h"

#include <cstdio>
#include <cstring>

#include "CRecordMemorySource.h"
#include "CRecordStreamReader.h"
#include "WireWriter.h"

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static std::atomic<unsigned> counter{0};
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%srec%lu_%u", base, GetCurrentProcessId(), counter++);
    CreateDirectoryA(name, nullptr);
    m_path = name;
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((m_path + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_path + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(m_path.c_str());
}

Bytes ReadWholeFile(const std::string& path)
{
    Bytes bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    unsigned char piece[65536];
    size_t n;
    while ((n = fread(piece, 1, sizeof piece, f)) > 0)
        bytes.insert(bytes.end(), piece, piece + n);
    fclose(f);
    return bytes;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

uint32_t FileLength(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow
                                                                            : 0u;
}

bool WaitForFileLength(const std::string& path, uint32_t length, DWORD limitMs)
{
    for (DWORD start = GetTickCount(); FileLength(path) < length;) {
        if (GetTickCount() - start >= limitMs)
            return false;
        Sleep(5);
    }
    return true;
}

uint32_t WordAt(const Bytes& bytes, size_t offset)
{
    if (offset + 4 > bytes.size())
        return 0xDEADBEEF;
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

void PutWord(Bytes& bytes, size_t offset, uint32_t value)
{
    WireWriter w(bytes.data() + offset, bytes.size() - offset);
    w.U32(value);
}

bool OpenFromMemory(CRecordFileReader& reader, const Bytes& bytes)
{
    return reader.Open(std::unique_ptr<IRecordSource>(new CRecordMemorySource(bytes)));
}

bool ReadStream(CRecordFileReader& reader, uint32_t kind, std::vector<ReadRecord>& out,
                std::string* error)
{
    CRecordStreamReader stream(reader, kind);
    RecRecord r;
    int result;
    while ((result = stream.Next(r)) == CRecordStreamReader::RECORD)
        out.push_back({r.kind, r.time, r.prefix, Bytes(r.payload, r.payload + r.length)});
    if (error)
        *error = stream.Error();
    return result == CRecordStreamReader::END;
}

bool FaultyOutput::Append(const void* data, uint32_t length)
{
    if (m_control->gate)
        WaitForSingleObject(m_control->gate, 10000);
    ++m_control->appends;
    int64_t cut = m_control->failLongerThan.load();
    if (cut >= 0 && static_cast<int64_t>(length) > cut) {
        if (cut > 0)
            CRecordFileOutput::Append(data, static_cast<uint32_t>(cut));
        m_fakeError = m_control->failError.load();
        return false;
    }
    int64_t budget = m_control->appendBudget.load();
    if (budget >= 0) {
        if (static_cast<int64_t>(length) > budget) {
            // Write what still fits, as a disk running full would.
            m_control->appendBudget = 0;
            if (budget > 0)
                CRecordFileOutput::Append(data, static_cast<uint32_t>(budget));
            m_fakeError = m_control->failError.load();
            return false;
        }
        m_control->appendBudget -= length;
    }
    m_fakeError = 0;
    return CRecordFileOutput::Append(data, length);
}

bool FaultyOutput::QueryFreeBytes(uint64_t& bytes)
{
    int64_t fake = m_control->freeBytes.load();
    if (fake < 0)
        return CRecordFileOutput::QueryFreeBytes(bytes);
    bytes = static_cast<uint64_t>(fake);
    return true;
}

uint32_t FaultyOutput::LastError() const
{
    return m_fakeError ? m_fakeError : CRecordFileOutput::LastError();
}

bool MemoryOutput::Append(const void* data, uint32_t length)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), p, p + length);
    return true;
}

bool MemoryOutput::WriteAt(uint32_t offset, const void* data, uint32_t length)
{
    if (offset + length > bytes.size())
        return false;
    memcpy(bytes.data() + offset, data, length);
    return true;
}

FileBuilder::FileBuilder()
{
    unsigned char start[REC_DATA_OFFSET];
    RecBuildFileStart(start, "built", 1700000000);
    bytes.assign(start, start + sizeof start);
}

uint32_t FileBuilder::Append(const Bytes& data)
{
    uint32_t offset = static_cast<uint32_t>(bytes.size());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return offset;
}

void FileBuilder::AddRecord(Bytes& block, uint32_t time, const Bytes& payload,
                            const uint32_t* prefix)
{
    size_t at = block.size();
    uint32_t length = static_cast<uint32_t>(payload.size()) + (prefix ? 4 : 0);
    block.resize(at + 8 + length);
    WireWriter w(block.data() + at, 8 + length);
    w.U32(time);
    w.U32(length);
    if (prefix)
        w.U32(*prefix);
    w.Bytes(payload.data(), payload.size());
}

REC_BLOCK_ENTRY FileBuilder::AddBlock(uint32_t kind, uint32_t firstTime, const Bytes& block)
{
    uint32_t offset = Append(block);
    return REC_BLOCK_ENTRY{kind, firstTime, offset, static_cast<uint32_t>(block.size()), 0};
}

namespace {
template <typename Entry>
uint32_t AppendChunk(FileBuilder& b, const std::vector<Entry>& entries, uint32_t next)
{
    Bytes chunk(12 + 20 * entries.size());
    WireWriter w(chunk.data(), chunk.size());
    REC_INDEX_CHUNK_HEAD head = {next, 0, static_cast<uint32_t>(entries.size())};
    w.Record(head);
    for (const Entry& e : entries)
        w.Record(e);
    return b.Append(chunk);
}
} // namespace

uint32_t FileBuilder::AddChunk(const std::vector<REC_BLOCK_ENTRY>& entries, uint32_t next)
{
    return AppendChunk(*this, entries, next);
}

uint32_t FileBuilder::AddChunk(const std::vector<REC_FILE_ENTRY>& entries, uint32_t next)
{
    return AppendChunk(*this, entries, next);
}
