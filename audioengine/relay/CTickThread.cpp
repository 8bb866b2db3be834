#include "CTickThread.h"

#include <algorithm>
#include <new>

#include "CScopedLock.h"

namespace {

// One conference's view of the shared clock.
class CSharedTick : public ITickSource
{
public:
    explicit CSharedTick(std::shared_ptr<CTickThread> clock) : m_clock(std::move(clock)) {}
    ~CSharedTick() override { Stop(); }

    bool Start(HANDLE tickEvent, uint32_t) override
    {
        if (m_event)
            return true;
        if (!m_clock || !m_clock->Register(tickEvent))
            return false;
        m_event = tickEvent;
        return true;
    }
    void Stop() override
    {
        if (m_event)
            m_clock->Unregister(m_event);
        m_event = nullptr;
    }

private:
    std::shared_ptr<CTickThread> m_clock;
    HANDLE m_event = nullptr;
};

} // namespace

CTickThread::CTickThread(uint32_t periodMs) : CNamedThread("Tick Thread"), m_periodMs(periodMs)
{
    InitializeCriticalSection(&m_lock);
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

CTickThread::~CTickThread()
{
    SetEvent(m_stop);
    Stop();
    CloseHandle(m_stop);
    CloseHandle(m_changed);
    DeleteCriticalSection(&m_lock);
}

bool CTickThread::Register(HANDLE tickEvent)
{
    if (!tickEvent || !m_stop || !m_changed)
        return false;
    {
        CScopedLock lock(&m_lock);
        try {
            m_events.push_back(tickEvent);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (!Start()) {
            m_events.pop_back();
            return false;
        }
    }
    SetEvent(m_changed);
    return true;
}

void CTickThread::Unregister(HANDLE tickEvent)
{
    CScopedLock lock(&m_lock);
    m_events.erase(std::remove(m_events.begin(), m_events.end(), tickEvent), m_events.end());
}

uint32_t CTickThread::Run()
{
    HANDLE events[2] = {m_stop, m_changed};
    for (;;) {
        bool any;
        {
            CScopedLock lock(&m_lock);
            any = !m_events.empty();
        }
        const DWORD r = WaitForMultipleObjects(2, events, FALSE, any ? m_periodMs : INFINITE);
        if (r == WAIT_OBJECT_0)
            break;
        if (r != WAIT_TIMEOUT)
            continue;
        CScopedLock lock(&m_lock);
        for (HANDLE e : m_events)
            SetEvent(e);
    }
    return 0;
}

TickSourceFactory CTickThread::Factory(uint32_t periodMs)
{
    std::shared_ptr<CTickThread> clock(new (std::nothrow) CTickThread(periodMs));
    return [clock]() -> std::unique_ptr<ITickSource> {
        return std::unique_ptr<ITickSource>(new CSharedTick(clock));
    };
}
