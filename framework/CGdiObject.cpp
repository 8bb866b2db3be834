#include "CGdiObject.h"
#include "AfxState.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

HGDIOBJ CGdiObject::GetSafeHandle() const
{
    const CGdiObject* volatile self = this;
    return self ? self->m_hObject : NULL;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ h)
{
    if (!h)
        return NULL;
    return AfxGetThreadState()->gdiMap.FromHandle(h, [](HGDIOBJ hObject) {
        CGdiObject* p = new CGdiObject;
        p->m_hObject = hObject;
        return p;
    });
}

void PASCAL CGdiObject::DeleteTempMap()
{
    AfxGetThreadState()->gdiMap.DeleteTemporaries([](CGdiObject* p) { p->m_hObject = NULL; });
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    // The object owns what it holds (its destructor deletes it), so a handle
    // replaced by a new one is deleted now instead of being left behind.
    if (m_hObject && m_hObject != hObject)
        ::DeleteObject(m_hObject);
    // GDI wrappers are not kept in a permanent map: objects are often made
    // on one thread and freed on another.
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = NULL;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}
