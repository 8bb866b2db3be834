#include "CCpuMeter.h"

#include "CMemoryDC.h"

#include <string.h>

CCpuMeter::PFN_LOAD_SINK CCpuMeter::s_pfnSink = NULL;

BEGIN_MESSAGE_MAP(CCpuMeter, CWnd)
    ON_WM_PAINT()
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CCpuMeter::CCpuMeter()
    : m_crLabel(0x00FFFF), m_crValue(0x0000FF), m_crBackground(0x000000), m_crFreeLine(0x005000),
      m_crUsedLine(0x008C00), m_nPitch(0), m_nLines(50), m_nInterval(10), m_nLoad(40)
{
    m_prevIdle.QuadPart = 0;
    m_prevTime.QuadPart = 0;
}

CCpuMeter::~CCpuMeter() {}

void CCpuMeter::SetLoadSink(PFN_LOAD_SINK pfn) { s_pfnSink = pfn; }

BOOL CCpuMeter::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(NULL, NULL, dwStyle, rect, pParentWnd, nID);
}

void CCpuMeter::SetInterval(UINT nMilliseconds)
{
    m_nInterval = nMilliseconds;
    if (m_hWnd)
        SetTimer(1, nMilliseconds, NULL);
}

int CCpuMeter::OnCreate(LPCREATESTRUCT lpcs) { return CWnd::OnCreate(lpcs); }

void CCpuMeter::OnSize(UINT nType, int cx, int cy) { CWnd::OnSize(nType, cx, cy); }

void CCpuMeter::OnShowWindow(BOOL bShow, UINT nStatus) { CWnd::OnShowWindow(bShow, nStatus); }

BOOL CCpuMeter::OnEraseBkgnd(CDC*) { return TRUE; }

int CCpuMeter::ComputeLoad(ULONGLONG prevIdle, ULONGLONG prevTime, ULONGLONG idle, ULONGLONG time,
                           int nProcessors, int nPreviousLoad)
{
    if (time <= prevTime || idle < prevIdle)
        return nPreviousLoad;
    if (nProcessors < 1)
        nProcessors = 1;
    double dIdle = (double)(idle - prevIdle);
    double dTime = (double)(time - prevTime);
    int load = (int)(100.0 - (dIdle / dTime * 100.0) / nProcessors + 0.5);
    if (load < 0)
        load = 0;
    if (load > 100)
        load = 100;
    return load;
}

void CCpuMeter::OnTimer(UINT nIDEvent)
{
    if (nIDEvent == 1) {
        Sample();
        Invalidate(FALSE);
        if (s_pfnSink)
            s_pfnSink(m_nLoad);
    }
    CWnd::OnTimer(nIDEvent);
}

void CCpuMeter::Sample()
{
    if (::GetVersion() < 0x80000000)
        SampleNT();
    else
        Sample9x();
}

void CCpuMeter::SampleNT()
{
    typedef LONG(WINAPI * PFN_QUERY)(UINT, PVOID, ULONG, PULONG);
    HMODULE hNt = ::GetModuleHandleA("ntdll");
    PFN_QUERY query = hNt ? (PFN_QUERY)::GetProcAddress(hNt, "NtQuerySystemInformation") : NULL;
    if (!query)
        return;
    BYTE basic[44] = {}, timeOfDay[32] = {}, perf[312] = {};
    if (query(0, basic, sizeof(basic), NULL) != 0)
        return;
    if (query(3, timeOfDay, sizeof(timeOfDay), NULL) != 0)
        return;
    if (query(2, perf, sizeof(perf), NULL) != 0)
        return;
    int processors = (signed char)basic[40];
    LARGE_INTEGER now, idle;
    memcpy(&now, timeOfDay + 8, 8);
    memcpy(&idle, perf, 8);
    if (m_prevIdle.QuadPart != 0)
        m_nLoad = ComputeLoad(m_prevIdle.QuadPart, m_prevTime.QuadPart, idle.QuadPart, now.QuadPart,
                              processors, m_nLoad);
    m_prevIdle = idle;
    m_prevTime = now;
}

void CCpuMeter::Sample9x()
{
    HKEY hKey;
    DWORD value = 0, size = sizeof(value);
    if (::RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StartStat", 0, KEY_ALL_ACCESS, &hKey) !=
        ERROR_SUCCESS)
        return;
    ::RegQueryValueExA(hKey, "KERNEL\\CPUUsage", NULL, NULL, (LPBYTE)&value, &size);
    ::RegCloseKey(hKey);
    if (::RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    size = sizeof(value);
    if (::RegQueryValueExA(hKey, "KERNEL\\CPUUsage", NULL, NULL, (LPBYTE)&value, &size) ==
        ERROR_SUCCESS)
        m_nLoad = value > 100 ? 100 : (int)value;
    ::RegCloseKey(hKey);
    if (::RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StopStat", 0, KEY_ALL_ACCESS, &hKey) !=
        ERROR_SUCCESS)
        return;
    size = sizeof(value);
    ::RegQueryValueExA(hKey, "KERNEL\\CPUUsage", NULL, NULL, (LPBYTE)&value, &size);
    ::RegCloseKey(hKey);
}

void CCpuMeter::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CMemoryDC mem(rc.Width(), rc.Height());
    m_nPitch = rc.Height() / m_nLines;
    mem.FillSolidRect(&rc, m_crBackground);
    int load = m_nLoad < 0 ? 0 : (m_nLoad > 100 ? 100 : m_nLoad);
    int penWidth = m_nPitch - 2 > 0 ? m_nPitch - 2 : 1;
    CPen freePen, usedPen;
    freePen.CreatePen(PS_SOLID, penWidth, m_crFreeLine);
    usedPen.CreatePen(PS_SOLID, penWidth, m_crUsedLine);
    CPen* pOld = mem.SelectObject(&freePen);
    int freeLines = m_nLines - load / 2;
    for (int i = 0; i < freeLines; ++i) {
        mem.MoveTo(rc.left + 12, rc.top + 12 + i * m_nPitch);
        mem.LineTo(rc.right - 12, rc.top + 12 + i * m_nPitch);
    }
    mem.SelectObject(&usedPen);
    if (load > 1) {
        for (int i = 0; i < load / 2; ++i) {
            mem.MoveTo(rc.left + 12, rc.bottom - 12 - i * m_nPitch);
            mem.LineTo(rc.right - 12, rc.bottom - 12 - i * m_nPitch);
        }
    }
    mem.SelectObject(pOld);
    mem.SetBkMode(TRANSPARENT);
    UINT oldAlign = mem.SetTextAlign(TA_CENTER);
    mem.SetTextColor(m_crLabel);
    mem.TextOut(rc.left + 40, rc.top + 30, "cpu", 3);
    CString value;
    value.Format("%d%%", load);
    mem.SetTextColor(m_crValue);
    mem.TextOut((rc.left + rc.right) / 2 - 10, rc.bottom - 60, value);
    mem.SetTextAlign(oldAlign);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
}
