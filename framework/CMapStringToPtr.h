#pragma once
#include "CMap.h"

// Text keys to untyped pointers.
class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*>
{
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(int nBlockSize = 10) {}
};
