#pragma once
#include "CMap.h"

// Text keys to texts.
class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR>
{
    DECLARE_DYNAMIC(CMapStringToString)
public:
    explicit CMapStringToString(int nBlockSize = 10) {}
};
