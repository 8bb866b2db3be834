#pragma once
#include "CList.h"

// A list of untyped pointers; the list does not own what they point to.
class CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(int nBlockSize = 10) {}
};
