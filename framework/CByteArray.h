#pragma once
#include "CArray.h"

// An array of bytes.
class CByteArray : public CArray<BYTE, BYTE>
{
    DECLARE_DYNAMIC(CByteArray)
public:
    explicit CByteArray(int nBlockSize = 10) {}
};
