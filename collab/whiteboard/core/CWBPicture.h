#pragma once
#include "afxwin.h"

struct IPicture;

// A page background: a picture file (any format the system's picture loader
// reads) loaded from its bytes or from a file, measured and drawn.
class CWBPicture
{
public:
    CWBPicture();
    ~CWBPicture();

    BOOL Load(const void* bytes, DWORD length);
    BOOL LoadFile(LPCTSTR lpszPath);
    BOOL IsLoaded() const { return m_picture != NULL; }
    // In pixels at the screen's resolution.
    SIZE GetPixelSize() const;
    // Stretches the picture over a white cx x cy bitmap compatible with pDC;
    // FALSE (and no bitmap) without a picture.
    BOOL Render(CDC* pDC, int cx, int cy, CBitmap& bitmap) const;

private:
    CWBPicture(const CWBPicture&) = delete;
    CWBPicture& operator=(const CWBPicture&) = delete;
    void Release();

    IPicture* m_picture;
};
