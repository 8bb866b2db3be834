#include "CMenu.h"
#include "AfxState.h"
#include "CBitmap.h"
#include "CWnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::CMenu() : m_hMenu(NULL) {}

CMenu::~CMenu() { DestroyMenu(); }

HMENU CMenu::GetSafeHmenu() const
{
    const CMenu* volatile self = this;
    return self ? self->m_hMenu : NULL;
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return NULL;
    return AfxGetThreadState()->menuMap.FromHandle(hMenu, [](HMENU h) {
        CMenu* p = new CMenu;
        p->m_hMenu = h;
        return p;
    });
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu)
{
    return hMenu ? AfxGetThreadState()->menuMap.LookupPermanent(hMenu) : NULL;
}

void PASCAL CMenu::DeleteTempMap()
{
    AfxGetThreadState()->menuMap.DeleteTemporaries([](CMenu* p) { p->m_hMenu = NULL; });
}

static bool MenuHolds(HMENU hMenu, UINT nID, int depth)
{
    if (depth > 8)
        return false;
    int n = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < n; ++i) {
        HMENU sub = ::GetSubMenu(hMenu, i);
        if (sub) {
            if (MenuHolds(sub, nID, depth + 1))
                return true;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return true;
        }
    }
    return false;
}

CMenu* PASCAL CMenu::FindPermanentMenuWithItem(UINT nID)
{
    for (auto& kv : AfxGetThreadState()->menuMap.permanent)
        if (::IsMenu(kv.first) && MenuHolds(kv.first, nID, 0)) {
            // prefer the innermost permanent menu holding it
            CMenu* best = kv.second;
            int n = ::GetMenuItemCount(kv.first);
            for (int i = 0; i < n; ++i) {
                CMenu* sub = FromHandlePermanent(::GetSubMenu(kv.first, i));
                if (sub && MenuHolds(sub->m_hMenu, nID, 0))
                    best = sub;
            }
            return best;
        }
    return NULL;
}

static CMenu* InnermostPermanentWithItem(HMENU hMenu, UINT nID, int depth)
{
    if (depth > 8 || !MenuHolds(hMenu, nID, 0))
        return NULL;
    int n = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < n; ++i)
        if (HMENU sub = ::GetSubMenu(hMenu, i))
            if (CMenu* p = InnermostPermanentWithItem(sub, nID, depth + 1))
                return p;
    return CMenu::FromHandlePermanent(hMenu);
}

CMenu* PASCAL CMenu::FindPermanentMenuWithItem(HMENU hMenu, UINT nID)
{
    return InnermostPermanentWithItem(hMenu, nID, 0);
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    AfxGetThreadState()->menuMap.permanent[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h)
        AfxGetThreadState()->menuMap.RemovePermanent(h, this);
    m_hMenu = NULL;
    return h;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate)
{
    return Attach(::LoadMenuIndirectA(lpMenuTemplate));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                               const CBitmap* pBmpChecked)
{
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, (HBITMAP)pBmpUnchecked->GetSafeHandle(),
                                (HBITMAP)pBmpChecked->GetSafeHandle());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int n = ::GetMenuStringA(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (n <= 0) {
        rString.Empty();
        return 0;
    }
    LPSTR p = rString.GetBufferSetLength(n);
    int got = ::GetMenuStringA(m_hMenu, nIDItem, p, n + 1, nFlags);
    rString.ReleaseBuffer(got);
    return got;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}
