#pragma once
#include "CGdiObject.h"
#include "CSize.h"

class CDC;

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* PASCAL FromHandle(HBITMAP hBitmap)
    {
        return (CBitmap*)CGdiObject::FromHandle(hBitmap);
    }
    operator HBITMAP() const { return (HBITMAP)GetSafeHandle(); }
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadOEMBitmap(UINT nIDBitmap)
    {
        return Attach(::LoadBitmapA(NULL, MAKEINTRESOURCEA(nIDBitmap)));
    }
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
    {
        return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
    }
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap)
    {
        return Attach(::CreateBitmapIndirect(lpBitmap));
    }
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight)
    {
        return CreateCompatibleBitmap(pDC, nWidth, nHeight);
    }
    int GetBitmap(BITMAP* pBitMap) { return GetObject(sizeof(BITMAP), pBitMap); }
    DWORD SetBitmapBits(DWORD dwCount, const void* lpBits)
    {
        return ::SetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits);
    }
    DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const
    {
        return ::GetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits);
    }
    CSize SetBitmapDimension(int nWidth, int nHeight)
    {
        SIZE s = {0, 0};
        ::SetBitmapDimensionEx((HBITMAP)m_hObject, nWidth, nHeight, &s);
        return s;
    }
    CSize GetBitmapDimension() const
    {
        SIZE s = {0, 0};
        ::GetBitmapDimensionEx((HBITMAP)m_hObject, &s);
        return s;
    }
};
