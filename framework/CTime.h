#pragma once
#include "CString.h"
#include "CTimeSpan.h"

// A point in time, in seconds since 1970 (UTC), shown in local time.
class CTime
{
public:
    CTime() : m_time(0) {}
    CTime(time_t time) : m_time(time) {}
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    CTime(const SYSTEMTIME& sysTime, int nDST = -1);
    CTime(const FILETIME& fileTime, int nDST = -1);

    static CTime PASCAL GetCurrentTime();
    time_t GetTime() const { return m_time; }
    struct tm* GetLocalTm(struct tm* ptm = NULL) const;
    BOOL GetAsSystemTime(SYSTEMTIME& st) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday

    // strftime codes; empty text for a time before 1970 or a bad format.
    CString Format(LPCSTR pFormat) const;
    CString FormatGmt(LPCSTR pFormat) const;

    CTimeSpan operator-(CTime t) const { return CTimeSpan(m_time - t.m_time); }
    CTime operator-(CTimeSpan s) const { return CTime(m_time - s.m_timeSpan); }
    CTime operator+(CTimeSpan s) const { return CTime(m_time + s.m_timeSpan); }
    bool operator==(CTime t) const { return m_time == t.m_time; }
    bool operator!=(CTime t) const { return m_time != t.m_time; }
    bool operator<(CTime t) const { return m_time < t.m_time; }
    bool operator>(CTime t) const { return m_time > t.m_time; }
    bool operator<=(CTime t) const { return m_time <= t.m_time; }
    bool operator>=(CTime t) const { return m_time >= t.m_time; }

private:
    time_t m_time;
};
