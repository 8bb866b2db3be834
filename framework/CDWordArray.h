#pragma once
#include "CArray.h"

// An array of 32-bit values.
class CDWordArray : public CArray<DWORD, DWORD>
{
    DECLARE_DYNAMIC(CDWordArray)
public:
    explicit CDWordArray(int nBlockSize = 10) {}
};
