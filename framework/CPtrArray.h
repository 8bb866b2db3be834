#pragma once
#include "CArray.h"

// An array of untyped pointers; the array does not own what they point to.
class CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
public:
    explicit CPtrArray(int nBlockSize = 10) {}
};
