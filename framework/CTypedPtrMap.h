#pragma once
#include "CMapPtrToPtr.h"
#include "CMapStringToPtr.h"
#include "CMapWordToPtr.h"

// A pointer map whose keys and values are of given types.
template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS
{
public:
    explicit CTypedPtrMap(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    BOOL Lookup(KEY key, VALUE& rValue) const
    {
        void* v = NULL;
        BOOL r = BASE_CLASS::Lookup(key, (void*&)v);
        rValue = (VALUE)v;
        return r;
    }
    VALUE& operator[](KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        void* v = NULL;
        BASE_CLASS::GetNextAssoc(rPosition, rKey, v);
        rValue = (VALUE)v;
    }
};
