#include "CRecordPlayer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "CBlockLoader.h"
#include "CLogFile.h"
#include "CPlayStreamReader.h"
#include "CRecordFileSource.h"
#include "CScopedLock.h"
#include "PlayerMessages.h"
#include "RecordFormat.h"
#include "WireReader.h"

namespace {

// Reads and checks the header; fills total time, name and formatted date.
bool ReadHeader(IRecordSource& source, uint32_t& total, std::string& name, std::string& date,
                std::string& error)
{
    unsigned char raw[REC_HEADER_SIZE];
    if (!source.ReadAt(0, raw, sizeof raw)) {
        error = "not a recording: the file ends inside its header";
        return false;
    }
    WireReader r(raw, sizeof raw);
    REC_FILE_HEADER header;
    r.Record(header);
    if (memcmp(header.magic, REC_FILE_MAGIC, sizeof header.magic) != 0) {
        error = "not a recording: the file does not begin with the recording mark";
        return false;
    }
    if (header.version > REC_FILE_VERSION) {
        char text[120];
        snprintf(text, sizeof text, "recording version 0x%08X is newer than this player",
                 static_cast<unsigned>(header.version));
        error = text;
        return false;
    }
    total = header.totalTime;
    name.assign(header.name, strnlen(header.name, sizeof header.name));
    time_t t = static_cast<time_t>(header.startTime);
    char text[32] = "";
    if (struct tm* local = localtime(&t))
        text[strftime(text, sizeof text, "%Y-%m-%d %H:%M", local)] = '\0';
    date = text;
    return true;
}

// Waits for a thread to end while serving messages sent to this thread, so
// that a thread inside a SendMessage to it can finish.
void WaitPumpingSent(HANDLE thread)
{
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

const uint32_t kCapacity[REC_STREAM_COUNT] = {0x20000, 0x40000, 0x10000, 0x10000, 0x10000};

} // namespace

CRecordPlayer::CRecordPlayer(IPlayerSink* sink, IPlayClock* clock, CLogFile* log)
    : CNamedThread("File Parser Thread"), m_sink(sink), m_clock(clock ? clock : &m_systemClock),
      m_log(log)
{
    InitializeCriticalSection(&m_lock);
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_run = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    m_wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

CRecordPlayer::~CRecordPlayer()
{
    StopPlay();
    CloseHandle(m_stop);
    CloseHandle(m_run);
    CloseHandle(m_wake);
    DeleteCriticalSection(&m_lock);
}

void CRecordPlayer::Log(const char* format, ...)
{
    if (!m_log)
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    m_log->Write(1, "%s", line);
}

void CRecordPlayer::SetError(const std::string& text)
{
    CScopedLock lock(&m_lock);
    m_error = text;
}

std::string CRecordPlayer::GetLastError() const
{
    CScopedLock lock(&m_lock);
    return m_error;
}

bool CRecordPlayer::IsRunning() const
{
    return m_handle && WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT;
}

void CRecordPlayer::EndThread()
{
    SetEvent(m_stop);
    SetEvent(m_run);
    SetEvent(m_wake);
    if (m_handle)
        WaitPumpingSent(m_handle);
    CNamedThread::Stop();
}

bool CRecordPlayer::Open(HWND owner, const char* path)
{
    if (m_handle)
        EndThread();
    m_owner = owner;
    {
        CScopedLock lock(&m_lock);
        m_seekRequest = 0;
        m_anchorTick = m_clock->Now();
        m_totalTime = 0;
        m_anchorPosition = 0;
        m_error.clear();
    }
    ResetEvent(m_stop);
    SetEvent(m_run);
    ResetEvent(m_wake);

    CRecordFileSource file;
    std::string error;
    if (!file.Open(path)) {
        char text[300];
        snprintf(text, sizeof text, "cannot open the recording %s (system error %u)",
                 path ? path : "(null)", static_cast<unsigned>(file.LastError()));
        SetError(text);
        return false;
    }
    if (!ReadHeader(file, m_totalTime, m_name, m_date, error)) {
        SetError(error);
        return false;
    }
    if (!m_documents.Load(file, REC_FILE_CHAIN_OFFSET)) {
        SetError(m_documents.Error());
        return false;
    }
    if (!m_sink || !m_sink->Build(owner)) {
        SetError("the player's windows cannot be created");
        return false;
    }
    return true;
}

int CRecordPlayer::StartPlay(HWND owner, const char* path)
{
    Log("start play file %s\n", path ? path : "(null)");
    if (!Open(owner, path))
        return 0;
    Log("start play file %s success\n", path);
    m_path = path;
    return Start() ? 1 : 0;
}

int CRecordPlayer::StartConvert(HWND owner, const char* path)
{
    if (!Open(owner, path))
        return 0;
    m_sink->SetPlaybackTap(true);
    m_sink->SetLayoutRect(0, 0, 352, 288);
    m_converting = 1;
    m_path = path;
    return Start() ? 1 : 0;
}

void CRecordPlayer::StopPlay()
{
    Log("Stoping file play thread!\n");
    EndThread();
    Log("Stoped file play thread!\n");
    if (m_converting && m_sink)
        m_sink->SetPlaybackTap(false);
    m_converting = 0;
    if (m_sink)
        m_sink->DestroyChildren();
    m_path.clear();
}

void CRecordPlayer::StopConvert()
{
    EndThread();
    // The tap must not point at a player that is about to go.
    if (m_converting && m_sink)
        m_sink->SetPlaybackTap(false);
    m_converting = 0;
}

uint32_t CRecordPlayer::Position()
{
    if (WaitForSingleObject(m_run, 0) != WAIT_OBJECT_0)
        return m_anchorPosition;
    return m_clock->Now() - m_anchorTick + m_anchorPosition;
}

uint32_t CRecordPlayer::GetCurTime()
{
    if (!IsRunning())
        return 0;
    CScopedLock lock(&m_lock);
    return Position();
}

int CRecordPlayer::SetCurTime(uint32_t ms)
{
    if (ms > m_totalTime)
        return 0;
    {
        CScopedLock lock(&m_lock);
        m_seekRequest = ms;
        m_anchorPosition = ms;
        m_anchorTick = m_clock->Now();
    }
    SetEvent(m_wake);
    return 1;
}

int CRecordPlayer::PausePlay()
{
    {
        CScopedLock lock(&m_lock);
        if (WaitForSingleObject(m_run, 0) != WAIT_OBJECT_0)
            return 1;
        m_anchorPosition = Position();
        ResetEvent(m_run);
    }
    SetEvent(m_wake);
    return 1;
}

int CRecordPlayer::ResumePlay()
{
    {
        CScopedLock lock(&m_lock);
        if (WaitForSingleObject(m_run, 0) == WAIT_OBJECT_0)
            return 1;
        m_anchorTick = m_clock->Now();
        SetEvent(m_run);
    }
    SetEvent(m_wake);
    return 1;
}

int CRecordPlayer::SetWindowRect(int left, int top, int right, int bottom)
{
    if (m_converting || !m_sink)
        return 1;
    return m_sink->SetLayoutRect(left, top, right, bottom);
}

bool CRecordPlayer::FindDocument(uint32_t key1, uint32_t key2, REC_BLOCK_ENTRY* entry) const
{
    const REC_BLOCK_ENTRY* e = m_documents.FindDocument(key1, key2);
    if (e && entry)
        *entry = *e;
    return e != nullptr;
}

int CRecordPlayer::ReadDocument(uint32_t key1, uint32_t key2, void* buffer, uint32_t capacity) const
{
    const REC_BLOCK_ENTRY* e = m_documents.FindDocument(key1, key2);
    if (m_path.empty() || !e || !buffer || e->length > capacity)
        return 0;
    CRecordFileSource file;
    if (!file.Open(m_path.c_str()))
        return 0;
    return file.ReadAt(e->offset, buffer, e->length) ? 1 : 0;
}

uint32_t CRecordPlayer::GetFileTotalTime(const char* path)
{
    CRecordFileSource file;
    if (!file.Open(path))
        return 0;
    uint32_t total = 0;
    std::string name, date, error;
    return ReadHeader(file, total, name, date, error) ? total : 0;
}

CRecordPlayer::Exit CRecordPlayer::Fail(const char* format, ...)
{
    char text[400];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    SetError(text);
    return EXIT_ERROR;
}

int CRecordPlayer::Dispatch(uint32_t kind, const unsigned char* record, uint32_t length)
{
    switch (kind) {
    case REC_STREAM_AUDIO:
        return m_sink->OnAudioRecord(record, length);
    case REC_STREAM_VIDEO:
        return m_sink->OnVideoRecord(record, length);
    case REC_STREAM_BOARD:
        return m_sink->OnBoardRecord(record, length);
    case REC_STREAM_COMMAND:
        return m_sink->OnCommandRecord(record, length);
    case REC_STREAM_CHAT:
        return m_sink->OnChatRecord(record, length);
    default:
        return 0;
    }
}

uint32_t CRecordPlayer::Run()
{
    Log("Enter Fileparser thread!\n");
    Exit exit = Play();
    switch (exit) {
    case EXIT_FINISHED:
        Log("Play thread is Finished!\n");
        PostMessageA(m_owner, WM_PLAY_FINISHED, 0, 0);
        break;
    case EXIT_ERROR:
        Log("Play thread throw a fatal error!\n");
        Log("<CRecordPlayer::Run>, %s\n", GetLastError().c_str());
        PostMessageA(m_owner, WM_PLAY_ERROR, 0, 0);
        break;
    case EXIT_STOP:
        Log("Play thread is Stop!\n");
        break;
    }
    return 0;
}

CRecordPlayer::Exit CRecordPlayer::Play()
{
    CRecordIndexTable blocks;
    CBlockLoader loader;
    {
        CRecordFileSource file;
        if (!file.Open(m_path.c_str()))
            return Fail("cannot open the recording %s (system error %u)", m_path.c_str(),
                        static_cast<unsigned>(file.LastError()));
        if (!blocks.Load(file, REC_BLOCK_CHAIN_OFFSET))
            return Fail("%s", blocks.Error().c_str());
    }
    if (!loader.Open(m_path.c_str()))
        return Fail("%s", loader.Error().c_str());

    // The readers go before the loader (declared after it): the loader is
    // stopped first, so that no read lands in a freed buffer.
    struct Readers
    {
        CBlockLoader& loader;
        std::unique_ptr<CPlayStreamReader> r[REC_STREAM_COUNT];
        ~Readers() { loader.Stop(); }
    } readers{loader, {}};
    for (uint32_t i = 0; i < REC_STREAM_COUNT; ++i)
        readers.r[i].reset(new CPlayStreamReader(i + 1, loader, kCapacity[i], blocks));
    {
        CScopedLock lock(&m_lock);
        m_anchorTick = m_clock->Now();
    }

    for (;;) {
        if (WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0)
            return EXIT_STOP;
        HANDLE pauseWait[2] = {m_stop, m_run};
        if (WaitForMultipleObjects(2, pauseWait, FALSE, INFINITE) == WAIT_OBJECT_0)
            return EXIT_STOP;

        // The request is taken under the lock; the windows are cleared and
        // the readers moved outside it, so that the caller's thread never
        // waits on the lock while the play thread waits on that thread.
        uint32_t seek;
        {
            CScopedLock lock(&m_lock);
            seek = m_seekRequest;
            m_seekRequest = NO_SEEK;
        }
        if (seek != NO_SEEK) {
            m_sink->Clear();
            for (uint32_t i = 0; i < REC_STREAM_COUNT; ++i) {
                uint32_t to = i + 1 <= REC_STREAM_VIDEO ? seek : 0;
                if (!readers.r[i]->Seek(to))
                    return Fail("seek to %u ms failed: %s", seek, readers.r[i]->Error().c_str());
            }
            continue; // a stop or another seek may have come meanwhile
        }

        CPlayStreamReader* winner = nullptr;
        uint32_t best = CPlayStreamReader::NO_RECORD;
        for (auto& reader : readers.r) {
            uint32_t t = reader->Peek();
            if (reader->Failed())
                return Fail("%s", reader->Error().c_str());
            if (t < best) {
                best = t;
                winner = reader.get();
            }
        }
        if (!winner)
            return EXIT_FINISHED;
        if (best > m_totalTime)
            return Fail("a record at %u ms lies beyond the recording's total time of %u ms", best,
                        m_totalTime);

        int32_t delay;
        {
            CScopedLock lock(&m_lock);
            delay = static_cast<int32_t>(best - Position());
        }
        if (delay > 0) {
            HANDLE waits[2] = {m_stop, m_wake};
            DWORD r = m_clock->Wait(2, waits, static_cast<uint32_t>(delay));
            if (r == 0)
                return EXIT_STOP;
            continue; // the time has come, or a seek, pause or resume
        }

        const unsigned char* record;
        uint32_t length;
        if (!winner->Take(&record, &length))
            return Fail("%s", winner->Error().c_str());
        if (!Dispatch(winner->Kind(), record, length))
            return Fail("the windows refused a record of stream %u at %u ms (%u bytes)",
                        winner->Kind(), best, length);
    }
}
