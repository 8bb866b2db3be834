#include "CRecorder.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "CLogFile.h"
#include "CRecordFileOutput.h"
#include "CRecordStreamBuffer.h"
#include "CRecordWriter.h"
#include "CScopedLock.h"
#include "RecordFormat.h"
#include "WireWriter.h"

namespace {

// Texts of the error codes, as the client shows them.
const char kErrorTexts[3][64] = {
    "无错误发生",
    "磁盘空间不够,请检查磁盘剩余空间",
    "未知错误",
};

// The order in which a stop hands the buffers to the writer.
const uint32_t kStopFlushOrder[REC_STREAM_COUNT] = {
    REC_STREAM_AUDIO, REC_STREAM_VIDEO, REC_STREAM_BOARD, REC_STREAM_CHAT, REC_STREAM_COMMAND,
};

} // namespace

CRecorder::CRecorder(CLogFile* log) : m_log(log) { InitializeCriticalSection(&m_lock); }

CRecorder::~CRecorder()
{
    {
        CScopedLock lock(&m_lock);
        StopLocked();
    }
    DeleteCriticalSection(&m_lock);
}

void CRecorder::Log(const char* format, ...)
{
    if (!m_log)
        return;
    va_list args;
    va_start(args, format);
    char line[512];
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    m_log->Write(1, "%s", line);
}

void CRecorder::SetOutputFactory(OutputFactory factory)
{
    CScopedLock lock(&m_lock);
    m_outputFactory = std::move(factory);
}

const char* CRecorder::ErrorText(uint32_t code) { return code < 3 ? kErrorTexts[code] : nullptr; }

int CRecorder::GetErrorMsg(const char** text) const
{
    const char* t = ErrorText(m_errorCode.load());
    if (text)
        *text = t;
    return t ? 1 : 0;
}

CRecordStreamBuffer* CRecorder::Buffer(uint32_t kind)
{
    if (kind < REC_STREAM_AUDIO || kind > REC_STREAM_CHAT)
        return nullptr;
    return m_buffers[kind - 1];
}

void CRecorder::DeleteBuffers()
{
    for (CRecordStreamBuffer*& b : m_buffers) {
        delete b;
        b = nullptr;
    }
}

bool CRecorder::IsRecording()
{
    CScopedLock lock(&m_lock);
    return m_writer != nullptr;
}

uint32_t CRecorder::QueuedBytes()
{
    CScopedLock lock(&m_lock);
    return m_writer ? m_writer->QueuedBytes() : 0;
}

uint32_t CRecorder::PeakQueuedBytes()
{
    CScopedLock lock(&m_lock);
    return m_writer ? m_writer->PeakQueuedBytes() : 0;
}

int CRecorder::StartRecord(const char* path, const char* text)
{
    (void)text; // accepted for the callers' sake; stored nowhere
    CScopedLock lock(&m_lock);
    if (m_writer)
        StopLocked();

    std::unique_ptr<IRecordOutput> output;
    if (m_outputFactory)
        output = m_outputFactory();
    else
        output.reset(new (std::nothrow) CRecordFileOutput);
    bool created = output != nullptr;
    if (created)
        m_writer = new (std::nothrow) CRecordWriter(std::move(output), m_log);
    created = created && m_writer;
    for (uint32_t kind = REC_STREAM_AUDIO; kind <= REC_STREAM_CHAT; ++kind) {
        CRecordStreamBuffer* b =
            new (std::nothrow) CRecordStreamBuffer(kind, RecStreamCapacity(kind));
        m_buffers[kind - 1] = b;
        created = created && b && b->IsValid();
    }
    if (!created) {
        Log("<CRecorder::StartRecord>, out of memory\n");
        delete m_writer;
        m_writer = nullptr;
        DeleteBuffers();
        return 0;
    }

    if (!m_writer->StartWriter(path, m_waitLimitMs)) {
        RecordFileError error;
        if (m_writer->GetStoredError(error))
            m_errorCode = error.cause == REC_CAUSE_DISK_FULL ? CODE_DISK_FULL : CODE_OTHER;
        // A writer whose thread never answered is left to itself.
        if (!m_writer->GetHandle())
            delete m_writer;
        m_writer = nullptr;
        DeleteBuffers();
        return 0;
    }
    m_startTime = timeGetTime();
    m_documentKeys.clear();
    // A new recording does not inherit the failure of an earlier one.
    m_errorCode = CODE_NONE;
    return 1;
}

int CRecorder::StopRecord()
{
    CScopedLock lock(&m_lock);
    StopLocked();
    return 1;
}

void CRecorder::StopLocked()
{
    if (m_writer) {
        for (uint32_t kind : kStopFlushOrder) {
            CRecordStreamBuffer* b = Buffer(kind);
            if (b && !Flush(*b))
                break;
        }
        // An append that got its buffer before this stop may still hold it
        // (waiting for the writer): let it finish before writer and buffers go.
        for (CRecordStreamBuffer* b : m_buffers) {
            if (b) {
                EnterCriticalSection(b->Lock());
                LeaveCriticalSection(b->Lock());
            }
        }
        if (m_writer->StopWriter(m_waitLimitMs))
            delete m_writer;
        else
            Log("<CRecorder::StopRecord>, the writer did not end; it is left running\n");
        m_writer = nullptr;
        DeleteBuffers();
    }
    m_errorCode = CODE_NONE;
}

void CRecorder::SetErrorFromWriter()
{
    RecordFileError error;
    if (m_writer && m_writer->GetStoredError(error) && error.cause == REC_CAUSE_DISK_FULL)
        m_errorCode = CODE_DISK_FULL;
    else
        m_errorCode = CODE_OTHER;
}

bool CRecorder::Flush(CRecordStreamBuffer& buffer)
{
    CScopedLock lock(buffer.Lock());
    if (buffer.Used() == 0)
        return true;
    if (!m_writer) {
        SetErrorFromWriter();
        return false;
    }
    // The full block goes to the writer as it is and the stream goes on in a
    // fresh one: the records are not copied a second time.
    unsigned char* fresh = m_writer->TakeSpare(buffer.Capacity());
    if (!fresh)
        fresh = new (std::nothrow) unsigned char[buffer.Capacity()];
    if (!fresh) {
        if (m_writer->PostBlock(buffer.Kind(), buffer.FirstTime(), buffer.Data(), buffer.Used(),
                                m_waitLimitMs)) {
            buffer.Clear();
            return true;
        }
        SetErrorFromWriter();
        return false;
    }
    const uint32_t used = buffer.Used();
    const uint32_t firstTime = buffer.FirstTime();
    unsigned char* full = buffer.Swap(fresh);
    if (m_writer->PostOwnedBlock(buffer.Kind(), firstTime, full, used, buffer.Capacity(),
                                 m_waitLimitMs))
        return true;
    delete[] buffer.Restore(full, used);
    SetErrorFromWriter();
    return false;
}

int CRecorder::Append(uint32_t kind, const uint32_t* prefix, const void* payload, uint32_t length)
{
    if (m_errorCode.load() != CODE_NONE)
        return 0;
    const uint64_t body = static_cast<uint64_t>(length) + (prefix ? 4 : 0);
    if (body + sizeof(REC_ITEM) > RecStreamCapacity(kind)) {
        Log("<CRecorder::Append>, a record of %llu bytes does not fit stream %u, refused\n",
            static_cast<unsigned long long>(body), kind);
        return 0;
    }

    // The recorder lock is held only to reach the stream's buffer: a caller
    // that must wait for room at the writer then holds up no other stream.
    // A stop takes each buffer's lock before it ends the writer and deletes
    // the buffers, so the buffer and writer stay while its lock is held.
    EnterCriticalSection(&m_lock);
    CRecordStreamBuffer* buffer = Buffer(kind);
    if (!m_writer || !buffer || m_errorCode.load() != CODE_NONE) {
        LeaveCriticalSection(&m_lock);
        return 0;
    }
    CScopedLock bufferLock(buffer->Lock());
    const uint32_t time = timeGetTime() - m_startTime;
    LeaveCriticalSection(&m_lock);
    if (!buffer->Fits(static_cast<uint32_t>(body)) && !Flush(*buffer))
        return 0;
    buffer->Put(time, prefix, payload, length);
    return 1;
}

int CRecorder::WriteAudioData(const void* packet, int length, uint32_t sourceId)
{
    if (length < 0 || (!packet && length > 0))
        return 0;
    return Append(REC_STREAM_AUDIO, &sourceId, packet, static_cast<uint32_t>(length));
}

int CRecorder::WriteVideoData(const void* frame, int length, uint32_t videoId)
{
    if (length < 0 || (!frame && length > 0))
        return 0;
    return Append(REC_STREAM_VIDEO, &videoId, frame, static_cast<uint32_t>(length));
}

int CRecorder::WriteBoardData(const void* data, int length)
{
    // An empty whiteboard run is nothing a player could replay.
    if (length <= 0 || !data)
        return 0;
    return Append(REC_STREAM_BOARD, nullptr, data, static_cast<uint32_t>(length));
}

int CRecorder::WriteCommandData(const void* data, int length)
{
    // A layout command is a code byte and at least one argument byte.
    if (length < 2 || !data)
        return 0;
    return Append(REC_STREAM_COMMAND, nullptr, data, static_cast<uint32_t>(length));
}

int CRecorder::WriteChatData(const char* text, uint32_t kind)
{
    if (!text)
        return 0;
    const size_t n = strlen(text) + 1;
    if (n > RecStreamCapacity(REC_STREAM_CHAT))
        return 0;
    return Append(REC_STREAM_CHAT, &kind, text, static_cast<uint32_t>(n));
}

int CRecorder::WriteFile(const char* path, uint32_t key1, uint32_t key2)
{
    if (!path)
        return 0;
    CScopedLock lock(&m_lock);
    if (!m_writer || m_errorCode.load() != CODE_NONE)
        return 0;
    const std::pair<uint32_t, uint32_t> key(key1, key2);
    if (std::find(m_documentKeys.begin(), m_documentKeys.end(), key) != m_documentKeys.end())
        return 1;
    if (!m_writer->PostFile(path, key1, key2, m_waitLimitMs)) {
        SetErrorFromWriter();
        return 0;
    }
    m_documentKeys.push_back(key);
    return 1;
}

int CRecorder::AppendLayout(const uint8_t* command, size_t length)
{
    return Append(REC_STREAM_COMMAND, nullptr, command, static_cast<uint32_t>(length));
}

namespace {

// Builds one layout command in a caller's buffer; each call has its own, so
// the layout calls may come from any thread.
struct LayoutCommand
{
    uint8_t bytes[sizeof(REC_LAYOUT_CMD)];
    WireWriter writer{bytes, sizeof bytes};
    explicit LayoutCommand(uint8_t code) { writer.U8(code); }
    size_t Length() const { return writer.Offset(); }
};

} // namespace

#define RECORDER_LAYOUT_ID(Method, Code)                                                           \
    int CRecorder::Method(uint32_t id)                                                             \
    {                                                                                              \
        LayoutCommand c(Code);                                                                     \
        c.writer.U32(id);                                                                          \
        return AppendLayout(c.bytes, c.Length());                                                  \
    }
#define RECORDER_LAYOUT_BYTE(Method, Code)                                                         \
    int CRecorder::Method(uint8_t value)                                                           \
    {                                                                                              \
        LayoutCommand c(Code);                                                                     \
        c.writer.U8(value);                                                                        \
        return AppendLayout(c.bytes, c.Length());                                                  \
    }

RECORDER_LAYOUT_ID(AddVideo, REC_LAYOUT_ADD_VIDEO)
RECORDER_LAYOUT_ID(DelVideo, REC_LAYOUT_DEL_VIDEO)
RECORDER_LAYOUT_ID(FloatVideo, REC_LAYOUT_FLOAT_VIDEO)
RECORDER_LAYOUT_ID(MainVideo, REC_LAYOUT_MAIN_VIDEO)
RECORDER_LAYOUT_ID(LastVideo, REC_LAYOUT_LAST_VIDEO)
RECORDER_LAYOUT_ID(AddAudio, REC_LAYOUT_ADD_AUDIO)
RECORDER_LAYOUT_ID(DelAudio, REC_LAYOUT_DEL_AUDIO)
RECORDER_LAYOUT_BYTE(ShowVideoWnd, REC_LAYOUT_SHOW_VIDEO)
RECORDER_LAYOUT_BYTE(ShowBoardWnd, REC_LAYOUT_SHOW_BOARD)
RECORDER_LAYOUT_BYTE(ShowChatWnd, REC_LAYOUT_SHOW_CHAT)
RECORDER_LAYOUT_BYTE(SplitVideoWnd, REC_LAYOUT_SPLIT_MODE)

int CRecorder::FullVideo(uint32_t videoId, uint8_t flag)
{
    LayoutCommand c(REC_LAYOUT_FULL_VIDEO);
    c.writer.U32(videoId);
    c.writer.U8(flag);
    return AppendLayout(c.bytes, c.Length());
}

int CRecorder::SwapVideo(uint32_t videoId1, uint32_t videoId2)
{
    LayoutCommand c(REC_LAYOUT_SWAP_VIDEO);
    c.writer.U32(videoId1);
    c.writer.U32(videoId2);
    return AppendLayout(c.bytes, c.Length());
}
