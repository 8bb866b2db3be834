#pragma once
#include <windows.h>

#include <string>

// The start signal of a meeting of several processes: a named block in
// which each participant counts itself ready and the test then publishes
// the measuring window, on the machine's performance clock.
class CMeetingClock
{
public:
    enum { LONGEST_WAIT_MS = 60000 };

    CMeetingClock() = default;
    ~CMeetingClock();

    CMeetingClock(const CMeetingClock&) = delete;
    CMeetingClock& operator=(const CMeetingClock&) = delete;

    bool Create(const std::string& name);
    bool Open(const std::string& name);
    void Ready();
    long ReadyCount() const;
    void Publish(double fromMs, double toMs);
    // False until the window is published.
    bool Window(double* fromMs, double* toMs) const;

private:
    struct Block
    {
        volatile LONG ready;
        volatile LONG published;
        double fromMs;
        double toMs;
    };

    HANDLE m_mapping = nullptr;
    Block* m_block = nullptr;
};
