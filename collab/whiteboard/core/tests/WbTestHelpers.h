#pragma once
#include "CDrawObj.h"
#include "afxwin.h"

#include <string>
#include <vector>

// A white memory bitmap to draw objects into and read pixels back.
class CWbCanvas
{
public:
    CWbCanvas(int width, int height);
    ~CWbCanvas();
    CDC* DC() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    int Count(COLORREF c, const RECT& area);
    int CountNotWhite(const RECT& area);

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old;
};

// Bytes from hex text ("01 02 ff"), for golden records.
std::vector<BYTE> WbHex(const char* text);
std::string WbToHex(const std::vector<BYTE>& bytes);
std::vector<BYTE> WbPack(CDrawObj& obj);
LOGFONTA WbTestFont();
