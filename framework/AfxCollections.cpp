#include "CArchive.h"
#include "CByteArray.h"
#include "CDWordArray.h"
#include "CMapPtrToPtr.h"
#include "CMapPtrToWord.h"
#include "CMapStringToOb.h"
#include "CMapStringToPtr.h"
#include "CMapStringToString.h"
#include "CMapWordToOb.h"
#include "CMapWordToPtr.h"
#include "CObArray.h"
#include "CObList.h"
#include "CPtrArray.h"
#include "CPtrList.h"
#include "CStringArray.h"
#include "CStringList.h"
#include "CUIntArray.h"
#include "CWordArray.h"

// Run-time classes of the named collections and the serialisation of those
// that hold objects or texts.
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CWordArray, CObject)
IMPLEMENT_DYNAMIC(CByteArray, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToOb, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)

void CObList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(GetCount());
        for (POSITION p = GetHeadPosition(); p;)
            ar << GetNext(p);
    } else {
        // Each element takes at least its two-byte tag, which bounds the count.
        DWORD_PTR n = ar.ReadCount(2);
        while (n--) {
            CObject* ob = ar.ReadObject(NULL);
            AddTail(ob);
        }
    }
}

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(GetSize());
        for (int i = 0; i < GetSize(); ++i)
            ar << GetAt(i);
    } else {
        DWORD_PTR n = ar.ReadCount(2);
        RemoveAll();
        for (DWORD_PTR i = 0; i < n; ++i)
            Add(ar.ReadObject(NULL));
    }
}

void CStringList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(GetCount());
        for (POSITION p = GetHeadPosition(); p;)
            ar << GetNext(p);
    } else {
        DWORD_PTR n = ar.ReadCount(1);
        while (n--) {
            CString s;
            ar >> s;
            AddTail(s);
        }
    }
}

void CStringArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(GetSize());
        for (int i = 0; i < GetSize(); ++i)
            ar << GetAt(i);
    } else {
        DWORD_PTR n = ar.ReadCount(1);
        RemoveAll();
        for (DWORD_PTR i = 0; i < n; ++i) {
            CString s;
            ar >> s;
            Add(s);
        }
    }
}
