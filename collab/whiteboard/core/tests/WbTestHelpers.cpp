#include "WbTestHelpers.h"

#include <stdio.h>
#include <string.h>

CWbCanvas::CWbCanvas(int width, int height)
{
    CDC screen;
    screen.Attach(::GetDC(NULL));
    m_dc.CreateCompatibleDC(&screen);
    m_bitmap.CreateCompatibleBitmap(&screen, width, height);
    ::ReleaseDC(NULL, screen.Detach());
    m_old = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
}

CWbCanvas::~CWbCanvas() { m_dc.SelectObject(m_old); }

int CWbCanvas::Count(COLORREF c, const RECT& area)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += m_dc.GetPixel(x, y) == c;
    return n;
}

int CWbCanvas::CountNotWhite(const RECT& area)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += m_dc.GetPixel(x, y) != RGB(255, 255, 255);
    return n;
}

std::vector<BYTE> WbHex(const char* text)
{
    std::vector<BYTE> out;
    unsigned v;
    int used;
    while (*text) {
        if (sscanf(text, " %2x%n", &v, &used) != 1)
            break;
        out.push_back((BYTE)v);
        text += used;
    }
    return out;
}

std::string WbToHex(const std::vector<BYTE>& bytes)
{
    std::string s;
    char b[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        sprintf(b, i ? " %02x" : "%02x", bytes[i]);
        s += b;
    }
    return s;
}

std::vector<BYTE> WbPack(CDrawObj& obj)
{
    std::vector<BYTE> blob(obj.Pack(NULL, 0));
    UINT n = obj.Pack(blob.data(), (UINT)blob.size());
    blob.resize(n);
    return blob;
}

LOGFONTA WbTestFont()
{
    LOGFONTA lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -15;
    lf.lfWeight = 400;
    lf.lfPitchAndFamily = 0x30;
    strcpy(lf.lfFaceName, "Arial");
    return lf;
}
