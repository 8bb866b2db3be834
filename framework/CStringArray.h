#pragma once
#include "CArray.h"
#include "CString.h"

// An array of texts.
class CStringArray : public CArray<CString, const CString&>
{
    DECLARE_SERIAL(CStringArray)
public:
    explicit CStringArray(int nBlockSize = 10) {}
    virtual void Serialize(CArchive& ar);
};
