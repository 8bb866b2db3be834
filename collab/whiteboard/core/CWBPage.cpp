#include "CWBPage.h"

CWBPage::CWBPage() : m_objects(10) {}

CWBPage::~CWBPage() { DeleteAll(); }

void CWBPage::Add(CDrawObj* pObj)
{
    if (pObj)
        m_objects.AddTail(pObj);
}

CDrawObj* CWBPage::Find(DWORD id) const
{
    for (POSITION pos = m_objects.GetHeadPosition(); pos;) {
        CDrawObj* obj = (CDrawObj*)m_objects.GetNext(pos);
        if (obj->GetId() == id)
            return obj;
    }
    return NULL;
}

CDrawObj* CWBPage::Remove(DWORD id)
{
    for (POSITION pos = m_objects.GetHeadPosition(); pos;) {
        POSITION at = pos;
        CDrawObj* obj = (CDrawObj*)m_objects.GetNext(pos);
        if (obj->GetId() == id) {
            m_objects.RemoveAt(at);
            return obj;
        }
    }
    return NULL;
}

void CWBPage::DeleteAll()
{
    while (!m_objects.IsEmpty())
        delete (CDrawObj*)m_objects.RemoveHead();
}
