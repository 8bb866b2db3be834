#pragma once
#include "CList.h"

// A list of object pointers in order; Serialize writes a count and each object with its class, and reads them back by creating each object from its class name. The list does not delete its objects.
class CObList : public CList<CObject*, CObject*>
{
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(int nBlockSize = 10) {}
    virtual void Serialize(CArchive& ar);
};
