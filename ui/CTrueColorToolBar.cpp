#include "CTrueColorToolBar.h"

#include "SkinNames.h"

BEGIN_MESSAGE_MAP(CTrueColorToolBar, CToolBar)
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

CTrueColorToolBar::CTrueColorToolBar() : m_hImages(NULL)
{
    HBITMAP pattern =
        (HBITMAP)::LoadImageA(NULL, SKIN_SS_BKGND, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (pattern) {
        m_brushBackground.Attach(::CreatePatternBrush(pattern));
        ::DeleteObject(pattern); // the brush keeps its own copy
    }
    if (!m_brushBackground.GetSafeHandle())
        m_brushBackground.Attach(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
}

CTrueColorToolBar::~CTrueColorToolBar()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        DestroyWindow(); // the images outlive the bar's window
    if (m_hImages)
        ImageList_Destroy(m_hImages);
}

CString CTrueColorToolBar::ShortName(const CString& commandString)
{
    int lf = commandString.Find('\n');
    return lf < 0 ? commandString : commandString.Mid(lf + 1);
}

CSize CTrueColorToolBar::ImageSize() const
{
    HIMAGELIST list = (HIMAGELIST)SendMessage(TB_GETIMAGELIST);
    int cx = 0, cy = 0;
    if (list && ImageList_GetImageCount(list) > 0 && ImageList_GetIconSize(list, &cx, &cy))
        return CSize(cx, cy);
    return CSize(16, 15);
}

BOOL CTrueColorToolBar::SetTrueColorImages(UINT bitmapId)
{
    HBITMAP bitmap = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!bitmap)
        return FALSE;
    const CSize size = ImageSize();
    HIMAGELIST list = ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 10, 10);
    BOOL ok = list && ImageList_AddMasked(list, bitmap, MASK_COLOUR) >= 0;
    ::DeleteObject(bitmap);
    if (!ok) {
        if (list)
            ImageList_Destroy(list);
        return FALSE;
    }
    ImageList_SetBkColor(list, CLR_NONE);
    SendMessage(TB_SETIMAGELIST, 0, (LPARAM)list);
    if (m_hImages)
        ImageList_Destroy(m_hImages);
    m_hImages = list;
    return TRUE;
}

void CTrueColorToolBar::SetButtonTexts()
{
    const int count = (int)SendMessage(TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        UINT id = GetItemID(i);
        if (id == 0)
            continue;
        CString text;
        if (!text.LoadString(id))
            continue;
        text = ShortName(text);
        if (!text.IsEmpty())
            SetButtonText(i, text);
    }
    CRect item;
    GetItemRect(0, &item);
    SetSizes(item.Size(), ImageSize());
}

BOOL CTrueColorToolBar::LoadTrueColorToolBar(UINT toolBarId, UINT bitmapId, BOOL withText)
{
    if (!LoadToolBar(toolBarId))
        return FALSE;
    if (!SetTrueColorImages(bitmapId))
        return FALSE;
    if (withText)
        SetButtonTexts();
    return TRUE;
}

void CTrueColorToolBar::OnNcPaint()
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    ::SetBrushOrgEx(dc, 0, 0, NULL);
    ::FillRect(dc, &window, (HBRUSH)m_brushBackground.GetSafeHandle());
    ::ReleaseDC(m_hWnd, dc);
}

BOOL CTrueColorToolBar::OnEraseBkgnd(CDC* dc)
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    POINT origin = {0, 0};
    ClientToScreen(&origin);
    // The pattern lines up with the window's top-left corner.
    ::SetBrushOrgEx(dc->GetSafeHdc(), window.left - origin.x, window.top - origin.y, NULL);
    ::FillRect(dc->GetSafeHdc(), &client, (HBRUSH)m_brushBackground.GetSafeHandle());
    return TRUE;
}

LRESULT CTrueColorToolBar::OnIdleUpdate(WPARAM wParam, LPARAM lParam)
{
    return CControlBar::OnIdleUpdateCmdUI(wParam, lParam);
}

void CTrueColorToolBar::OnCustomDraw(NMHDR*, LRESULT* result) { *result = CDRF_DODEFAULT; }
