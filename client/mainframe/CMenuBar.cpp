#include "CMenuBar.h"

#include "CLanguageManager.h"
#include "MainFrameMessages.h"
#include "MainFrameResource.h"
#include "SkinNames.h"
#include "UiFont.h"

BEGIN_MESSAGE_MAP(CMenuBar, CToolBar)
    ON_NOTIFY_REFLECT(TBN_DROPDOWN, OnDropDown)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_WM_TIMER()
    ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CMenuBar::CMenuBar() {}

CMenuBar::~CMenuBar()
{
    if (m_menu)
        ::DestroyMenu(m_menu);
}

BOOL CMenuBar::CreateBar(CFrameWnd* frame, CLanguageManager* lang)
{
    m_lang = lang;
    if (!CreateEx(frame, TBSTYLE_FLAT | TBSTYLE_LIST, WS_CHILD | WS_VISIBLE | CBRS_TOP))
        return FALSE;

    m_buttonImages.LoadFromFile(SKIN_MENU_BUTTON, 6, 10, TRUE);
    if (m_buttonImages.GetHeight() > 0)
        m_imageHeight = m_buttonImages.GetHeight();
    int barHeight = m_imageHeight + 2;
    HBITMAP back = (HBITMAP)::LoadImageA(NULL, SKIN_MENU_BK, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (back) {
        BITMAP info = {};
        ::GetObject(back, sizeof info, &info);
        barHeight = info.bmHeight;
        m_background.Attach(::CreatePatternBrush(back));
        ::DeleteObject(back);
    } else {
        m_background.Attach(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    }
    SetSizes(CSize(BUTTON_WIDTH, m_imageHeight), CSize(IMAGE_WIDTH, m_imageHeight - 6));
    SetHeight(barHeight);

    // The buttons: one per top-level item of the frame's menu.
    m_menu = frame->GetMenu() ? frame->GetMenu()->GetSafeHmenu() : nullptr;
    const int count = m_menu ? ::GetMenuItemCount(m_menu) : 0;
    m_titles.assign(count > 0 ? count : 0, CString());
    for (int i = 0; i < count; ++i) {
        HMENU popup = ::GetSubMenu(m_menu, i);
        TBBUTTON b = {};
        b.iBitmap = I_IMAGENONE;
        b.idCommand = popup ? i + 1 : (int)::GetMenuItemID(m_menu, i);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = (BYTE)(TBSTYLE_BUTTON | (popup ? TBSTYLE_DROPDOWN : 0));
        SendMessage(TB_ADDBUTTONSA, 1, (LPARAM)&b);
        TBBUTTONINFOA info = {sizeof info};
        info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
        info.cx = BUTTON_WIDTH;
        SendMessage(TB_SETBUTTONINFOA, i, (LPARAM)&info);
    }
    RetitleButtons();

    // The frame shows the bar in place of its menu.
    if (m_menu)
        ::SetMenu(frame->GetSafeHwnd(), nullptr);
    frame->m_hMenuDefault = nullptr;

    ApplyLanguageTexts(TRUE);

    // The room list command is not offered in the management menu.
    if (HMENU manage = m_menu ? ::GetSubMenu(m_menu, 2) : nullptr)
        ::DeleteMenu(manage, ID_ROOM_LIST, MF_BYCOMMAND);
    frame->RecalcLayout();
    return TRUE;
}

void CMenuBar::ApplyLanguageTexts(BOOL apply)
{
    if (!m_menu)
        return;
    if (m_lang)
        m_lang->TranslateMenu("MainFrameMenu", m_menu);
    if (apply) {
        RetitleButtons();
        if (m_hWnd)
            Invalidate();
    }
}

void CMenuBar::RetitleButtons()
{
    for (int i = 0; i < (int)m_titles.size(); ++i) {
        char text[128] = {};
        ::GetMenuStringA(m_menu, i, text, sizeof text - 1, MF_BYPOSITION);
        m_titles[i] = text;
    }
}

int CMenuBar::GetButtonCount() const { return (int)m_titles.size(); }

CString CMenuBar::GetButtonTitle(int index) const
{
    return index >= 0 && index < (int)m_titles.size() ? m_titles[index] : CString();
}

int CMenuBar::PopupButtonAt(POINT screen) const
{
    if (!m_hWnd || !m_menu)
        return -1;
    POINT pt = screen;
    ::ScreenToClient(m_hWnd, &pt);
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(pt))
        return -1;
    for (int i = 0; i < (int)m_titles.size(); ++i) {
        CRect r;
        SendMessage(TB_GETITEMRECT, i, (LPARAM)&r);
        if (r.PtInRect(pt))
            return ::GetSubMenu(m_menu, i) ? i : -1;
    }
    return -1;
}

bool CMenuBar::DropDown(int index)
{
    HMENU popup = m_menu && index >= 0 ? ::GetSubMenu(m_menu, index) : nullptr;
    if (!popup)
        return false;
    int next = index;
    while (next >= 0) {
        HMENU menu = ::GetSubMenu(m_menu, next);
        if (!menu)
            break;
        CRect r;
        SendMessage(TB_GETITEMRECT, next, (LPARAM)&r);
        ClientToScreen(&r);
        const UINT id = (UINT)next + 1;
        SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(TRUE, 0));
        m_openPopup = next;
        m_pendingPopup = -1;
        SetTimer(TRACK_TIMER, TRACK_MS, nullptr);
        TPMPARAMS exclude = {sizeof exclude};
        exclude.rcExclude = r;
        CWnd* owner = GetOwner() ? GetOwner() : GetParent();
        ::TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, r.left, r.bottom,
                           owner ? owner->GetSafeHwnd() : GetParent()->GetSafeHwnd(), &exclude);
        KillTimer(TRACK_TIMER);
        if (m_hWnd)
            SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(FALSE, 0));
        m_openPopup = -1;
        next = m_pendingPopup;
        m_pendingPopup = -1;
    }
    return true;
}

bool CMenuBar::TrackCursor(POINT screen)
{
    if (m_openPopup < 0)
        return false;
    const int under = PopupButtonAt(screen);
    if (under < 0 || under == m_openPopup)
        return false;
    // The open popup closes; the one under the cursor opens in its place.
    m_pendingPopup = under;
    ::EndMenu();
    return true;
}

void CMenuBar::OnTimer(UINT_PTR id)
{
    if (id != TRACK_TIMER) {
        CToolBar::OnTimer(id);
        return;
    }
    POINT pt;
    ::GetCursorPos(&pt);
    TrackCursor(pt);
}

void CMenuBar::OnDropDown(NMHDR* nmhdr, LRESULT* result)
{
    const NMTOOLBARA* tb = reinterpret_cast<const NMTOOLBARA*>(nmhdr);
    *result = TBDDRET_DEFAULT;
    DropDown(tb->iItem - 1);
}

void CMenuBar::OnUpdateCmdUI(CFrameWnd* target, BOOL)
{
    // A button whose command has no handler stays enabled.
    CToolBar::OnUpdateCmdUI(target, FALSE);
}

void CMenuBar::OnCustomDraw(NMHDR* nmhdr, LRESULT* result)
{
    NMTBCUSTOMDRAW* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(nmhdr);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT:
        DrawButton(draw);
        *result = CDRF_SKIPDEFAULT;
        return;
    default:
        *result = CDRF_DODEFAULT;
        return;
    }
}

void CMenuBar::DrawButton(NMTBCUSTOMDRAW* draw)
{
    CRect item(draw->nmcd.rc);
    if (item.IsRectEmpty())
        return;
    const int index = (int)SendMessage(TB_COMMANDTOINDEX, draw->nmcd.dwItemSpec);
    const bool pressed = (draw->nmcd.uItemState & (CDIS_SELECTED | CDIS_CHECKED)) != 0 ||
                         (index >= 0 && index == m_openPopup);
    const bool hot = (draw->nmcd.uItemState & CDIS_HOT) != 0;

    CDC* screen = CDC::FromHandle(draw->nmcd.hdc);
    CDC mem;
    mem.CreateCompatibleDC(screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, item.Width(), item.Height());
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    CRect local(0, 0, item.Width(), item.Height());
    mem.FillSolidRect(&local, FACE_COLOUR);
    if (pressed || hot) {
        CBrush frame(FACE_COLOUR);
        CRect inner = local;
        for (int i = 0; i < 2; ++i) {
            mem.FrameRect(&inner, &frame);
            inner.DeflateRect(1, 1);
        }
    }
    CFont* oldFont = g_UiFont.GetSafeHandle() ? mem.SelectObject(&g_UiFont) : nullptr;
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(RGB(0, 0, 0));
    CRect text = local;
    if (pressed)
        text.OffsetRect(1, 1);
    const CString title = GetButtonTitle(index);
    mem.DrawText(title, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont)
        mem.SelectObject(oldFont);
    screen->BitBlt(item.left, item.top, item.Width(), item.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBitmap);
}

BOOL CMenuBar::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    ::SetBrushOrgEx(dc->GetSafeHdc(), 0, 0, nullptr);
    ::FillRect(dc->GetSafeHdc(), &client, (HBRUSH)m_background.GetSafeHandle());
    return TRUE;
}

void CMenuBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    ::SetBrushOrgEx(dc.GetSafeHdc(), 0, 0, nullptr);
    ::FillRect(dc.GetSafeHdc(), &window, (HBRUSH)m_background.GetSafeHandle());
}

LRESULT CMenuBar::OnLanguageChanged(WPARAM, LPARAM)
{
    ApplyLanguageTexts(TRUE);
    return 0;
}
