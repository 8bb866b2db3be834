#pragma once
#include "CDrawObj.h"
#include "afxwin.h"

// One whiteboard page: its objects in drawing order (first drawn first) and
// the path of its background picture (empty for none). The page owns its
// objects.
class CWBPage
{
public:
    CWBPage();
    ~CWBPage();

    void Add(CDrawObj* pObj);
    CDrawObj* Find(DWORD id) const;
    // Unlinks the first object of that id; the caller owns it then.
    CDrawObj* Remove(DWORD id);
    void DeleteAll();
    int GetCount() const { return m_objects.GetCount(); }
    POSITION GetHeadPosition() const { return m_objects.GetHeadPosition(); }
    CDrawObj* GetNext(POSITION& pos) const { return (CDrawObj*)m_objects.GetNext(pos); }

    CObList m_objects;
    CString m_strBackground;

private:
    CWBPage(const CWBPage&) = delete;
    CWBPage& operator=(const CWBPage&) = delete;
};
