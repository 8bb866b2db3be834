#pragma once
#include "CMap.h"

// 16-bit keys to objects (not owned).
class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*>
{
    DECLARE_DYNAMIC(CMapWordToOb)
public:
    explicit CMapWordToOb(int nBlockSize = 10) {}
};
