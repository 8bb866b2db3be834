#pragma once
#include <memory>
#include <string>

#include "CRecordStreamReader.h"

// Walks every record of a recording in time order, merging the five streams.
// Records of the same millisecond come in stream kind order; within a stream
// the written order is kept.
class CRecordFileWalker
{
public:
    explicit CRecordFileWalker(CRecordFileReader& file);

    // CRecordStreamReader::RECORD, END or FAILED.
    int Next(RecRecord& out);
    const std::string& Error() const { return m_error; }

private:
    struct Stream
    {
        std::unique_ptr<CRecordStreamReader> reader;
        RecRecord next;
        bool hasNext = false;
        bool ended = false;
    };
    Stream m_streams[REC_STREAM_COUNT];
    bool m_failed = false;
    std::string m_error;
};
