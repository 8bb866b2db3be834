#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CNamedThread.h"
#include "CRecordIndexTable.h"
#include "IPlayClock.h"
#include "IPlayerSink.h"

class CLogFile;

// Plays one recording into its windows: the play thread ("File Parser
// Thread") takes the records of the five streams in time order, waits until
// each one is due and hands it to the windows' handler for its stream.
// Pause, resume and seek act on the running thread and wake any wait; the
// end of the recording or a failure is posted to the owner window.
class CRecordPlayer : public CNamedThread
{
public:
    enum : uint32_t { NO_SEEK = 0xFFFFFFFF };

    // The windows, the clock and the log stay the caller's.
    CRecordPlayer(IPlayerSink* sink, IPlayClock* clock = nullptr, CLogFile* log = nullptr);
    ~CRecordPlayer() override;

    int StartPlay(HWND owner, const char* path);
    int StartConvert(HWND owner, const char* path);
    // Ends the play thread, then destroys the windows.
    void StopPlay();
    // Ends the play thread and takes the playback tap away; the windows stay.
    void StopConvert();

    int PausePlay();
    int ResumePlay();
    // Refused beyond the total time.
    int SetCurTime(uint32_t ms);
    uint32_t GetCurTime();
    int SetWindowRect(int left, int top, int right, int bottom);

    uint32_t GetTotalTime() const { return m_totalTime; }
    const std::string& GetMeetingName() const { return m_name; }
    const std::string& GetMeetingDate() const { return m_date; }
    bool IsConverting() const { return m_converting != 0; }
    bool IsRunning() const;
    // Why the last start or the play thread failed.
    std::string GetLastError() const;

    bool FindDocument(uint32_t key1, uint32_t key2, REC_BLOCK_ENTRY* entry) const;
    int ReadDocument(uint32_t key1, uint32_t key2, void* buffer, uint32_t capacity) const;

    // Total time of any recording, from its header; 0 for a file that cannot
    // be opened, is no recording or is too new.
    static uint32_t GetFileTotalTime(const char* path);

protected:
    uint32_t Run() override;

private:
    enum Exit { EXIT_FINISHED, EXIT_ERROR, EXIT_STOP };
    bool Open(HWND owner, const char* path);
    void EndThread();
    uint32_t Position(); // under the lock
    Exit Play();
    Exit Fail(const char* format, ...);
    int Dispatch(uint32_t kind, const unsigned char* record, uint32_t length);
    void Log(const char* format, ...);
    void SetError(const std::string& text);

    IPlayerSink* m_sink;
    IPlayClock* m_clock;
    CSystemPlayClock m_systemClock;
    CLogFile* m_log;

    mutable CRITICAL_SECTION m_lock;
    HANDLE m_stop;
    HANDLE m_run;
    HANDLE m_wake; // auto reset: a seek, pause or resume cuts a wait short
    uint32_t m_totalTime = 0;
    std::string m_name;
    std::string m_date;
    uint32_t m_anchorPosition = 0;
    uint32_t m_anchorTick = 0;
    HWND m_owner = nullptr;
    std::string m_path;
    uint32_t m_converting = 0;
    uint32_t m_seekRequest = NO_SEEK;
    CRecordIndexTable m_documents;
    std::string m_error;
};
