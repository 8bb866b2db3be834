#include "CTime.h"

#include <string.h>

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    struct tm t = {};
    t.tm_year = nYear - 1900;
    t.tm_mon = nMonth - 1;
    t.tm_mday = nDay;
    t.tm_hour = nHour;
    t.tm_min = nMin;
    t.tm_sec = nSec;
    t.tm_isdst = nDST;
    m_time = mktime(&t);
    if (m_time == (time_t)-1)
        m_time = 0;
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)
{}

CTime::CTime(const FILETIME& fileTime, int nDST)
{
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&fileTime, &local) || !FileTimeToSystemTime(&local, &st)) {
        m_time = 0;
        return;
    }
    *this = CTime(st, nDST);
}

CTime PASCAL CTime::GetCurrentTime() { return CTime(::time(NULL)); }

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    static thread_local struct tm tmp;
    struct tm* out = ptm ? ptm : &tmp;
    time_t t = m_time;
    struct tm* r = localtime(&t);
    if (!r) {
        memset(out, 0, sizeof(*out));
        return NULL;
    }
    *out = *r;
    return out;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    if (!GetLocalTm(&t))
        return FALSE;
    st.wYear = (WORD)(t.tm_year + 1900);
    st.wMonth = (WORD)(t.tm_mon + 1);
    st.wDay = (WORD)t.tm_mday;
    st.wHour = (WORD)t.tm_hour;
    st.wMinute = (WORD)t.tm_min;
    st.wSecond = (WORD)t.tm_sec;
    st.wDayOfWeek = (WORD)t.tm_wday;
    st.wMilliseconds = 0;
    return TRUE;
}

int CTime::GetYear() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_year + 1900 : 0;
}
int CTime::GetMonth() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_mon + 1 : 0;
}
int CTime::GetDay() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_mday : 0;
}
int CTime::GetHour() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_hour : 0;
}
int CTime::GetMinute() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_min : 0;
}
int CTime::GetSecond() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_sec : 0;
}
int CTime::GetDayOfWeek() const
{
    struct tm t;
    return GetLocalTm(&t) ? t.tm_wday + 1 : 0;
}

static CString FormatTm(const struct tm* t, LPCSTR pFormat)
{
    CString s;
    if (!t || !pFormat)
        return s;
    char buf[256];
    size_t n = strftime(buf, sizeof(buf), pFormat, t);
    if (n > 0)
        s = CString(buf, (int)n);
    return s;
}

CString CTime::Format(LPCSTR pFormat) const
{
    time_t t = m_time;
    return FormatTm(localtime(&t), pFormat);
}

CString CTime::FormatGmt(LPCSTR pFormat) const
{
    time_t t = m_time;
    return FormatTm(gmtime(&t), pFormat);
}
