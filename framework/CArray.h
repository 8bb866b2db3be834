#pragma once
#include "CObject.h"
#include "CException.h"
#include <new>

// A growable array of values kept in one block of the shared process heap.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() {}
    ~CArray() { SetSize(0); }

    int GetSize() const { return m_nSize; }
    int GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    int GetUpperBound() const { return m_nSize - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1)
    {
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize < 0)
            nNewSize = 0;
        if (nNewSize > m_nMaxSize) {
            int grow = m_nGrowBy > 0
                           ? m_nGrowBy
                           : (m_nSize / 8 < 4 ? 4 : (m_nSize / 8 > 1024 ? 1024 : m_nSize / 8));
            int cap = m_nMaxSize + grow;
            if (cap < nNewSize)
                cap = nNewSize;
            if ((size_t)cap > ((size_t)0x7FFFFFFF) / sizeof(TYPE))
                AfxThrowMemoryException();
            TYPE* p = (TYPE*)AfxAlloc((size_t)cap * sizeof(TYPE));
            for (int i = 0; i < m_nSize; ++i) {
                new (&p[i]) TYPE(m_pData[i]);
                m_pData[i].~TYPE();
            }
            AfxFree(m_pData);
            m_pData = p;
            m_nMaxSize = cap;
        }
        for (int i = m_nSize; i < nNewSize; ++i)
            new (&m_pData[i]) TYPE();
        for (int i = nNewSize; i < m_nSize; ++i)
            m_pData[i].~TYPE();
        m_nSize = nNewSize;
        if (nNewSize == 0) {
            AfxFree(m_pData);
            m_pData = NULL;
            m_nMaxSize = 0;
        }
    }
    void FreeExtra() {}
    void RemoveAll() { SetSize(0); }

    TYPE GetAt(int nIndex) const { return m_pData[nIndex]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[nIndex] = newElement; }
    TYPE& ElementAt(int nIndex) { return m_pData[nIndex]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(int nIndex, ARG_TYPE newElement)
    {
        if (nIndex >= m_nSize) {
            TYPE copy(newElement); // may refer into the array
            SetSize(nIndex + 1);
            m_pData[nIndex] = copy;
        } else {
            m_pData[nIndex] = newElement;
        }
    }
    int Add(ARG_TYPE newElement)
    {
        int i = m_nSize;
        SetAtGrow(i, newElement);
        return i;
    }
    int Append(const CArray& src)
    {
        int old = m_nSize;
        SetSize(m_nSize + src.m_nSize);
        for (int i = 0; i < src.m_nSize; ++i)
            m_pData[old + i] = src.m_pData[i];
        return old;
    }
    void Copy(const CArray& src)
    {
        if (this == &src)
            return;
        SetSize(src.m_nSize);
        for (int i = 0; i < m_nSize; ++i)
            m_pData[i] = src.m_pData[i];
    }

    TYPE operator[](int nIndex) const { return m_pData[nIndex]; }
    TYPE& operator[](int nIndex) { return m_pData[nIndex]; }

    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1)
    {
        if (nCount <= 0)
            return;
        TYPE copy(newElement);
        if (nIndex >= m_nSize) {
            SetSize(nIndex + nCount);
        } else {
            int old = m_nSize;
            SetSize(m_nSize + nCount);
            for (int i = old - 1; i >= nIndex; --i)
                m_pData[i + nCount] = m_pData[i];
        }
        for (int i = 0; i < nCount; ++i)
            m_pData[nIndex + i] = copy;
    }
    void RemoveAt(int nIndex, int nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize)
            return;
        if (nCount > m_nSize - nIndex)
            nCount = m_nSize - nIndex;
        for (int i = nIndex; i + nCount < m_nSize; ++i)
            m_pData[i] = m_pData[i + nCount];
        SetSize(m_nSize - nCount);
    }
    void InsertAt(int nStartIndex, CArray* pNewArray)
    {
        for (int i = 0; i < pNewArray->GetSize(); ++i)
            InsertAt(nStartIndex + i, pNewArray->GetAt(i));
    }

protected:
    TYPE* m_pData = NULL;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};
