#pragma once
#include "CArray.h"

// An array of 16-bit values.
class CWordArray : public CArray<WORD, WORD>
{
    DECLARE_DYNAMIC(CWordArray)
public:
    explicit CWordArray(int nBlockSize = 10) {}
};
