#include "CPercentProgress.h"

#include <string.h>

BEGIN_MESSAGE_MAP(CPercentProgress, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPercentProgress::CPercentProgress() : m_nScale(5)
{
    memset(m_entries, 0, sizeof(m_entries));
    m_bar.LoadFromFile("skins\\myvh.bmp", 10, 20, FALSE);
}

CPercentProgress::~CPercentProgress() {}

int CPercentProgress::BarHeight(int nValue, int nClientHeight)
{
    if (nValue < 0)
        nValue = 0;
    if (nValue > 100)
        nValue = 100;
    int room = nClientHeight - 25;
    if (room <= 0)
        return 0;
    return room * nValue / 100;
}

void CPercentProgress::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(255, 255, 255));
    int x = 20;
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < MAX_ENTRIES; ++i) {
        const Entry& e = m_entries[i];
        if (!e.used)
            continue;
        int h = BarHeight(e.value, rc.Height());
        if (h > 0)
            m_bar.Draw(&dc, x, rc.Height() - 20 - h, 30, h);
        CString text;
        text.Format("%d%%,%.1023s", e.value, e.label);
        CRect t(x, rc.Height() - 20, x + 100, rc.Height());
        dc.DrawText(text, &t, DT_SINGLELINE);
        x += 50;
    }
}
