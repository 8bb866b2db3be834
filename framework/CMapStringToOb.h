#pragma once
#include "CMap.h"

// Text keys to objects (not owned).
class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*>
{
    DECLARE_DYNAMIC(CMapStringToOb)
public:
    explicit CMapStringToOb(int nBlockSize = 10) {}
};
