#pragma once
#include "afxwin.h"

// An off-screen drawing surface compatible with the screen: a memory DC with
// a cx x cy bitmap selected into it. Used as a CDC and as the source of
// BitBlt/StretchBlt to copy a composed picture to a window in one step.
class CMemoryDC : public CDC
{
public:
    CMemoryDC(int cx, int cy);
    ~CMemoryDC() override;

    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap;
    int m_nHeight;
    int m_nWidth;
};
