#pragma once
#include "CArray.h"

// An array of object pointers, serialised like CObList; the array does not delete its objects.
class CObArray : public CArray<CObject*, CObject*>
{
    DECLARE_SERIAL(CObArray)
public:
    explicit CObArray(int nBlockSize = 10) {}
    virtual void Serialize(CArchive& ar);
};
