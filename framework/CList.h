#pragma once
#include "CObject.h"
#include <new>

// A doubly linked list of values; nodes come from the shared process heap.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(int nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CList() { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead->data; }
    const TYPE& GetHead() const { return m_pNodeHead->data; }
    TYPE& GetTail() { return m_pNodeTail->data; }
    const TYPE& GetTail() const { return m_pNodeTail->data; }

    TYPE RemoveHead()
    {
        CNode* n = m_pNodeHead;
        TYPE v = n->data;
        Unlink(n);
        return v;
    }
    TYPE RemoveTail()
    {
        CNode* n = m_pNodeTail;
        TYPE v = n->data;
        Unlink(n);
        return v;
    }
    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    void AddHead(CList* pNewList)
    {
        for (POSITION p = pNewList->GetTailPosition(); p;)
            AddHead(pNewList->GetPrev(p));
    }
    void AddTail(CList* pNewList)
    {
        for (POSITION p = pNewList->GetHeadPosition(); p;)
            AddTail(pNewList->GetNext(p));
    }
    void RemoveAll()
    {
        while (m_pNodeHead)
            Unlink(m_pNodeHead);
    }

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* n = (CNode*)rPosition;
        rPosition = (POSITION)n->pNext;
        return n->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* n = (CNode*)rPosition;
        rPosition = (POSITION)n->pNext;
        return n->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* n = (CNode*)rPosition;
        rPosition = (POSITION)n->pPrev;
        return n->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* n = (CNode*)rPosition;
        rPosition = (POSITION)n->pPrev;
        return n->data;
    }
    TYPE& GetAt(POSITION position) { return ((CNode*)position)->data; }
    const TYPE& GetAt(POSITION position) const { return ((CNode*)position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { ((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink((CNode*)position); }

    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* at = (CNode*)position;
        CNode* n = NewNode(newElement);
        n->pNext = at ? at : NULL;
        n->pPrev = at ? at->pPrev : m_pNodeTail;
        if (!at) {
            // Before "nothing" means at the head of an empty list or the head.
            n->pNext = m_pNodeHead;
            n->pPrev = NULL;
        }
        Link(n);
        return (POSITION)n;
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* at = (CNode*)position;
        CNode* n = NewNode(newElement);
        n->pPrev = at ? at : m_pNodeTail;
        n->pNext = at ? at->pNext : NULL;
        Link(n);
        return (POSITION)n;
    }

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const
    {
        CNode* n = startAfter ? ((CNode*)startAfter)->pNext : m_pNodeHead;
        for (; n; n = n->pNext)
            if (n->data == searchValue)
                return (POSITION)n;
        return NULL;
    }
    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return NULL;
        CNode* n = m_pNodeHead;
        while (nIndex--)
            n = n->pNext;
        return (POSITION)n;
    }

protected:
    CNode* NewNode(ARG_TYPE v)
    {
        void* mem = AfxAlloc(sizeof(CNode));
        CNode* n = (CNode*)mem;
        new (&n->data) TYPE(v);
        n->pNext = n->pPrev = NULL;
        return n;
    }
    void Link(CNode* n)
    {
        if (n->pPrev)
            n->pPrev->pNext = n;
        else
            m_pNodeHead = n;
        if (n->pNext)
            n->pNext->pPrev = n;
        else
            m_pNodeTail = n;
        ++m_nCount;
    }
    void Unlink(CNode* n)
    {
        if (n->pPrev)
            n->pPrev->pNext = n->pNext;
        else
            m_pNodeHead = n->pNext;
        if (n->pNext)
            n->pNext->pPrev = n->pPrev;
        else
            m_pNodeTail = n->pPrev;
        --m_nCount;
        n->data.~TYPE();
        AfxFree(n);
    }

    CNode* m_pNodeHead = NULL;
    CNode* m_pNodeTail = NULL;
    int m_nCount = 0;
    int m_nBlockSize;
};
