#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "IRecordOutput.h"

class CLogFile;
class CRecordStreamBuffer;
class CRecordWriter;

// The meeting recorder behind the RV_ exports: stamps every record with the
// milliseconds since the recording started, gathers records per stream and
// hands full buffers to its writer thread. Every call copies what it is given
// before it returns. All calls may come from any thread at any time, a stop
// included: the recorder lock is held by every append and by start and stop.
class CRecorder
{
public:
    enum ErrorCode : uint32_t { CODE_NONE = 0, CODE_DISK_FULL = 1, CODE_OTHER = 2 };
    // Longest wait for the writer: for room in its queue, or for it to end.
    enum { DEFAULT_WAIT_LIMIT_MS = 30000 };

    using OutputFactory = std::function<std::unique_ptr<IRecordOutput>()>;

    explicit CRecorder(CLogFile* log = nullptr);
    // Stops a running recording.
    ~CRecorder();

    CRecorder(const CRecorder&) = delete;
    CRecorder& operator=(const CRecorder&) = delete;

    // Where recordings go; the default writes files on disk.
    void SetOutputFactory(OutputFactory factory);
    void SetWaitLimit(uint32_t ms) { m_waitLimitMs = ms; }

    int StartRecord(const char* path, const char* text);
    int StopRecord();

    int WriteAudioData(const void* packet, int length, uint32_t sourceId);
    int WriteVideoData(const void* frame, int length, uint32_t videoId);
    int WriteBoardData(const void* data, int length);
    int WriteCommandData(const void* data, int length);
    int WriteChatData(const char* text, uint32_t kind);
    int WriteFile(const char* path, uint32_t key1, uint32_t key2);

    int AddVideo(uint32_t videoId);
    int DelVideo(uint32_t videoId);
    int FloatVideo(uint32_t videoId);
    int FullVideo(uint32_t videoId, uint8_t flag);
    int MainVideo(uint32_t videoId);
    int LastVideo(uint32_t videoId);
    int SwapVideo(uint32_t videoId1, uint32_t videoId2);
    int ShowVideoWnd(uint8_t show);
    int ShowBoardWnd(uint8_t show);
    int ShowChatWnd(uint8_t show);
    int SplitVideoWnd(uint8_t mode);
    int AddAudio(uint32_t sourceId);
    int DelAudio(uint32_t sourceId);

    // The text of the current error code; 1, or 0 for an unknown code.
    int GetErrorMsg(const char** text) const;
    void ResetError() { m_errorCode = CODE_NONE; }
    uint32_t GetErrorCode() const { return m_errorCode.load(); }
    static const char* ErrorText(uint32_t code);

    bool IsRecording();
    // Bytes of block copies waiting for the writer, now and at most so far
    // in this recording.
    uint32_t QueuedBytes();
    uint32_t PeakQueuedBytes();

private:
    int Append(uint32_t kind, const uint32_t* prefix, const void* payload, uint32_t length);
    int AppendLayout(const uint8_t* command, size_t length);
    bool Flush(CRecordStreamBuffer& buffer);
    void SetErrorFromWriter();
    void StopLocked();
    void DeleteBuffers();
    CRecordStreamBuffer* Buffer(uint32_t kind);
    void Log(const char* format, ...);

    std::vector<std::pair<uint32_t, uint32_t>> m_documentKeys;
    mutable CRITICAL_SECTION m_lock;
    std::atomic<uint32_t> m_errorCode{CODE_NONE};
    CRecordWriter* m_writer = nullptr;
    CRecordStreamBuffer* m_buffers[5] = {}; // by stream kind - 1
    uint32_t m_startTime = 0;

    CLogFile* m_log;
    OutputFactory m_outputFactory;
    uint32_t m_waitLimitMs = DEFAULT_WAIT_LIMIT_MS;
};
