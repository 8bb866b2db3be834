#pragma once
#include "CObject.h"
#include "CString.h"
#include <new>

template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key)
{
    return (UINT)(((DWORD_PTR)key) >> 4) ^ (UINT)(DWORD_PTR)key;
}
inline UINT AFXAPI HashKey(const CString& key)
{
    UINT h = 0;
    for (LPCSTR p = key; *p; ++p)
        h = (h << 5) + h + (BYTE)*p;
    return h;
}
inline UINT AFXAPI HashKey(LPCSTR key)
{
    UINT h = 0;
    for (; key && *key; ++key)
        h = (h << 5) + h + (BYTE)*key;
    return h;
}

// A hash table of key/value pairs; associations come from the shared heap.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(int nBlockSize = 10) {}
    ~CMap() { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT h;
        CAssoc* a = GetAssocAt(key, h);
        if (!a)
            return FALSE;
        rValue = a->value;
        return TRUE;
    }
    VALUE& operator[](ARG_KEY key)
    {
        UINT h;
        CAssoc* a = GetAssocAt(key, h);
        if (!a) {
            if (!m_pHashTable)
                InitHashTable(m_nHashTableSize);
            a = (CAssoc*)AfxAlloc(sizeof(CAssoc));
            new (&a->key) KEY(key);
            new (&a->value) VALUE();
            a->nHashValue = h;
            a->pNext = m_pHashTable[h];
            m_pHashTable[h] = a;
            ++m_nCount;
        }
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key)
    {
        if (!m_pHashTable)
            return FALSE;
        UINT h = HashKey(key) % m_nHashTableSize;
        for (CAssoc** pp = &m_pHashTable[h]; *pp; pp = &(*pp)->pNext) {
            if ((*pp)->key == key) {
                CAssoc* a = *pp;
                *pp = a->pNext;
                FreeAssoc(a);
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        if (m_pHashTable) {
            for (UINT i = 0; i < m_nHashTableSize; ++i)
                for (CAssoc* a = m_pHashTable[i]; a;) {
                    CAssoc* next = a->pNext;
                    FreeAssoc(a);
                    a = next;
                }
            AfxFree(m_pHashTable);
            m_pHashTable = NULL;
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* a = (CAssoc*)rNextPosition;
        if (rNextPosition == BEFORE_START_POSITION) {
            a = NULL;
            for (UINT i = 0; i < m_nHashTableSize && !a; ++i)
                a = m_pHashTable[i];
        }
        rKey = a->key;
        rValue = a->value;
        CAssoc* next = a->pNext;
        for (UINT i = a->nHashValue + 1; !next && i < m_nHashTableSize; ++i)
            next = m_pHashTable[i];
        rNextPosition = (POSITION)next;
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE)
    {
        if (m_nCount)
            return; // only an empty map changes its table
        AfxFree(m_pHashTable);
        m_pHashTable = NULL;
        m_nHashTableSize = hashSize ? hashSize : 17;
        if (bAllocNow) {
            m_pHashTable = (CAssoc**)AfxAlloc(sizeof(CAssoc*) * m_nHashTableSize);
            memset(m_pHashTable, 0, sizeof(CAssoc*) * m_nHashTableSize);
        }
    }

protected:
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const
    {
        nHash = HashKey(key) % m_nHashTableSize;
        if (!m_pHashTable)
            return NULL;
        for (CAssoc* a = m_pHashTable[nHash]; a; a = a->pNext)
            if (a->key == key)
                return a;
        return NULL;
    }
    void FreeAssoc(CAssoc* a)
    {
        a->key.~KEY();
        a->value.~VALUE();
        AfxFree(a);
        --m_nCount;
    }

    CAssoc** m_pHashTable = NULL;
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};
