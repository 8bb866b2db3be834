#pragma once
#include "CList.h"
#include "CString.h"

// A list of texts. Its nodes and strings live on the shared heap, so a list filled by one module may be read and emptied by another.
class CStringList : public CList<CString, const CString&>
{
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(int nBlockSize = 10) {}
    virtual void Serialize(CArchive& ar);
};
