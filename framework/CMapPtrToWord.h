#pragma once
#include "CMap.h"

// Pointer keys to 16-bit values.
class CMapPtrToWord : public CMap<void*, void*, WORD, WORD>
{
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(int nBlockSize = 10) {}
};
