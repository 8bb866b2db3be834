#pragma once
#include "CArray.h"

// An array of unsigned values.
class CUIntArray : public CArray<UINT, UINT>
{
    DECLARE_DYNAMIC(CUIntArray)
public:
    explicit CUIntArray(int nBlockSize = 10) {}
};
