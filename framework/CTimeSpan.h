#pragma once
#include "AfxDefs.h"
#include <time.h>

// A length of time in seconds.
class CTimeSpan
{
public:
    CTimeSpan() : m_timeSpan(0) {}
    CTimeSpan(time_t t) : m_timeSpan(t) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
        : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + 24 * (time_t)lDays)))
    {}

    LONG GetDays() const { return (LONG)(m_timeSpan / (24 * 3600)); }
    LONG GetTotalHours() const { return (LONG)(m_timeSpan / 3600); }
    int GetHours() const { return (int)(GetTotalHours() - GetDays() * 24); }
    LONG GetTotalMinutes() const { return (LONG)(m_timeSpan / 60); }
    int GetMinutes() const { return (int)(GetTotalMinutes() - GetTotalHours() * 60); }
    LONG GetTotalSeconds() const { return (LONG)m_timeSpan; }
    int GetSeconds() const { return (int)(GetTotalSeconds() - GetTotalMinutes() * 60); }

    CTimeSpan operator-(CTimeSpan t) const { return CTimeSpan(m_timeSpan - t.m_timeSpan); }
    CTimeSpan operator+(CTimeSpan t) const { return CTimeSpan(m_timeSpan + t.m_timeSpan); }
    bool operator==(CTimeSpan t) const { return m_timeSpan == t.m_timeSpan; }
    bool operator<(CTimeSpan t) const { return m_timeSpan < t.m_timeSpan; }
    bool operator>(CTimeSpan t) const { return m_timeSpan > t.m_timeSpan; }

    time_t m_timeSpan;
};
