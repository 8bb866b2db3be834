#include "CRecordFileWalker.h"

CRecordFileWalker::CRecordFileWalker(CRecordFileReader& file)
{
    for (uint32_t i = 0; i < REC_STREAM_COUNT; ++i)
        m_streams[i].reader.reset(new CRecordStreamReader(file, i + 1));
}

int CRecordFileWalker::Next(RecRecord& out)
{
    if (m_failed)
        return CRecordStreamReader::FAILED;
    Stream* best = nullptr;
    for (Stream& s : m_streams) {
        if (!s.hasNext && !s.ended) {
            int r = s.reader->Next(s.next);
            if (r == CRecordStreamReader::FAILED) {
                m_failed = true;
                m_error = s.reader->Error();
                return r;
            }
            s.hasNext = r == CRecordStreamReader::RECORD;
            s.ended = !s.hasNext;
        }
        if (s.hasNext && (!best || s.next.time < best->next.time))
            best = &s;
    }
    if (!best)
        return CRecordStreamReader::END;
    out = best->next;
    best->hasNext = false;
    return CRecordStreamReader::RECORD;
}
