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
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (CGdiObject* p = s->gdiMap.LookupPermanent(h))
        return p;
    if (CGdiObject* p = s->gdiMap.LookupTemporary(h))
        return p;
    CGdiObject* p = new CGdiObject;
    p->m_hObject = h;
    s->gdiMap.temporary[h] = p;
    return p;
}

void PASCAL CGdiObject::DeleteTempMap()
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    auto temp = std::move(s->gdiMap.temporary);
    s->gdiMap.temporary.clear();
    for (auto& kv : temp) {
        kv.second->m_hObject = NULL; // temporary wrappers never own the handle
        delete kv.second;
    }
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
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
