#include "BCMenu.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {
int g_shellType = -1;
int g_classicTheme = -1;
std::vector<HMENU> g_allSubMenus;
std::vector<UINT> g_commandTable; // one entry per image of the shared list

CImageList& SharedImages()
{
    static CImageList images;
    return images;
}

std::wstring ToWide(LPCSTR text)
{
    if (!text)
        return std::wstring();
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, &w[0], n);
    return w;
}

CString ToAnsi(const std::wstring& text)
{
    int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, NULL, 0, NULL, NULL);
    std::string a(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &a[0], n, NULL, NULL);
    return CString(a.c_str());
}

HFONT CreateMenuFont()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    return ::CreateFontIndirectA(&ncm.lfMenuFont);
}

void DeleteFont(HFONT font)
{
    if (font && font != (HFONT)::GetStockObject(DEFAULT_GUI_FONT))
        ::DeleteObject(font);
}

// The items of a tool-bar resource (0 for a separator) and its image size.
bool ReadToolBar(UINT toolBarId, std::vector<UINT>& ids, int& width, int& height, HINSTANCE& module)
{
    HINSTANCE candidates[2] = {AfxGetResourceHandle(), ::GetModuleHandleA(NULL)};
    for (HINSTANCE inst : candidates) {
        HRSRC res = ::FindResourceA(inst, MAKEINTRESOURCEA(toolBarId), MAKEINTRESOURCEA(241));
        if (!res)
            continue;
        DWORD size = ::SizeofResource(inst, res);
        const BYTE* raw = (const BYTE*)::LockResource(::LoadResource(inst, res));
        if (!raw || size < 8)
            return false;
        const WORD* w = (const WORD*)raw;
        ids.clear();
        if (w[0] == 1 && size >= 8 && size >= 8u + w[3] * 2u) {
            width = w[1];
            height = w[2];
            for (int i = 0; i < w[3]; ++i)
                ids.push_back(w[4 + i]);
        } else if (size >= 12) {
            const DWORD* d = (const DWORD*)raw;
            if (d[2] > 1024 || size < 12 + d[2] * 4)
                return false;
            width = (int)d[0];
            height = (int)d[1];
            for (DWORD i = 0; i < d[2]; ++i)
                ids.push_back(d[3 + i]);
        }
        module = inst;
        return width > 0 && height > 0 && width <= 256 && height <= 256;
    }
    return false;
}

HBITMAP MakeDib(int w, int h, const std::vector<DWORD>& px)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP dib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (dib && bits)
        std::copy(px.begin(), px.end(), (DWORD*)bits);
    return dib;
}

// 0x00RRGGBB pixels <-> COLORREF.
COLORREF PixelColour(DWORD p) { return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255); }
DWORD ColourPixel(COLORREF c)
{
    return ((DWORD)GetRValue(c) << 16) | ((DWORD)GetGValue(c) << 8) | GetBValue(c);
}
} // namespace

BCMenuData::~BCMenuData()
{
    if (imageList) {
        imageList->DeleteImageList();
        delete imageList;
    }
}

BCMenu::BCMenu()
    : m_iconX(16), m_iconY(15), m_bitmapBackground(0xC0C0C0), m_bitmapBackgroundFlag(FALSE),
      m_checkMaps(NULL), m_checkMapShare(FALSE), m_selectCheck(-1), m_unselectCheck(-1),
      m_loadMenu(FALSE), m_spareFlag(FALSE)
{
    GetShellType();
}

BCMenu::~BCMenu() { DestroyMenu(); }

int BCMenu::GetShellType()
{
    if (g_shellType >= 0)
        return g_shellType;
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    ::GetVersionExA(&v);
    int type = 0;
    if (v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        type = v.dwMinorVersion >= 90 ? 4 : v.dwMinorVersion >= 10 ? 3 : 2;
    else if (v.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (v.dwMajorVersion == 4)
            type = 5;
        else if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0)
            type = 6;
        else if (v.dwMajorVersion == 5 && v.dwMinorVersion == 1)
            type = 7;
        else
            type = 1;
    }
    g_shellType = type;
    return type;
}

void BCMenu::SetShellType(int type) { g_shellType = type; }

BOOL BCMenu::IsXPThemed()
{
    if (g_classicTheme < 0) {
        g_classicTheme = 0;
        char value[MAX_PATH] = "";
        LONG size = sizeof(value);
        if (::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current",
                             value, &size) == ERROR_SUCCESS) {
            const char* tail = "windows classic.theme";
            size_t n = std::strlen(value), t = std::strlen(tail);
            g_classicTheme = n >= t && _stricmp(value + n - t, tail) == 0;
        }
    }
    return GetShellType() == 7 && !g_classicTheme;
}

BOOL BCMenu::UsesFlatLook(HDC dc)
{
    if (!IsXPThemed())
        return FALSE;
    return !(dc && (::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE));
}

COLORREF BCMenu::LightenColor(COLORREF c, double f)
{
    if (f < 0 || f > 1)
        return c;
    auto ch = [f](int x) { return (BYTE)(x + (255 - x) * f); };
    return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

HBITMAP BCMenu::LoadSysColorBitmap(UINT id)
{
    HINSTANCE inst = AfxGetResourceHandle();
    HBITMAP bitmap =
        (HBITMAP)::LoadImageA(inst, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!bitmap) {
        inst = ::GetModuleHandleA(NULL);
        bitmap = (HBITMAP)::LoadImageA(inst, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                       LR_CREATEDIBSECTION);
    }
    if (!bitmap)
        return NULL;
    BITMAP bm = {};
    ::GetObjectA(bitmap, sizeof(bm), &bm);
    if (bm.bmBitsPixel <= 4) // 16 colours: map the system colours
    {
        ::DeleteObject(bitmap);
        bitmap = (HBITMAP)::LoadImageA(inst, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                       LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS);
    }
    return bitmap;
}

CImageList* BCMenu::GetSharedImages()
{
    CImageList& images = SharedImages();
    if (!images.GetSafeHandle())
        images.Attach(ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 255, 8));
    return &images;
}

int BCMenu::CommandImage(UINT id)
{
    for (size_t i = 0; i < g_commandTable.size(); ++i)
        if (g_commandTable[i] == id)
            return (int)i;
    return -1;
}

BOOL BCMenu::CommandHasVariants(UINT id)
{
    int i = CommandImage(id);
    return i >= 0 && i + 2 < (int)g_commandTable.size() && g_commandTable[i + 1] == id &&
           g_commandTable[i + 2] == id;
}

int BCMenu::AddImageWithVariants(HBITMAP image, UINT id)
{
    HIMAGELIST list = (HIMAGELIST)GetSharedImages()->GetSafeHandle();
    if (!list || !image)
        return -1;
    const int w = 16, h = 15;
    std::vector<DWORD> px(w * h);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = ::GetDC(NULL);
    ::GetDIBits(screen, image, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, screen);

    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    if (!IsXPThemed())
        shadow = LightenColor(shadow, 0.49);
    std::vector<DWORD> faded(px), silhouette(px);
    for (size_t i = 0; i < px.size(); ++i) {
        px[i] &= 0xFFFFFF;
        if (PixelColour(px[i]) == face)
            continue;
        faded[i] = ColourPixel(LightenColor(PixelColour(px[i]), 0.3));
        silhouette[i] = ColourPixel(shadow);
    }
    int first = -1;
    const std::vector<DWORD>* variants[3] = {&px, &faded, &silhouette};
    for (const auto* v : variants) {
        HBITMAP dib = MakeDib(w, h, *v);
        int index = ImageList_AddMasked(list, dib, face);
        ::DeleteObject(dib);
        if (index < 0)
            return first;
        if (first < 0)
            first = index;
        if ((int)g_commandTable.size() <= index)
            g_commandTable.resize(index + 1, 0);
        g_commandTable[index] = id;
    }
    return first;
}

int BCMenu::AddToolBarImage(UINT toolBarId, UINT id)
{
    std::vector<UINT> ids;
    int width = 0, height = 0;
    HINSTANCE module = NULL;
    if (!ReadToolBar(toolBarId, ids, width, height, module))
        return -1;
    int image = -1, n = 0;
    for (UINT item : ids) {
        if (item == 0)
            continue;
        if (item == id) {
            image = n;
            break;
        }
        ++n;
    }
    if (image < 0)
        return -1;
    HBITMAP strip = LoadSysColorBitmap(toolBarId);
    if (!strip)
        return -1;
    // The button's image at 16 x 15, the tool bar's grey as the face colour.
    std::vector<DWORD> px(16 * 15, ColourPixel(::GetSysColor(COLOR_3DFACE)));
    HBITMAP cell = MakeDib(16, 15, px);
    HDC screen = ::GetDC(NULL);
    HDC src = ::CreateCompatibleDC(screen), dst = ::CreateCompatibleDC(screen);
    HGDIOBJ oldSrc = ::SelectObject(src, strip), oldDst = ::SelectObject(dst, cell);
    ::SetStretchBltMode(dst, COLORONCOLOR);
    ::StretchBlt(dst, 0, 0, 16, 15, src, image * width, 0, width, height, SRCCOPY);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x)
            if (::GetPixel(dst, x, y) == RGB(192, 192, 192))
                ::SetPixel(dst, x, y, face);
    ::SelectObject(src, oldSrc);
    ::SelectObject(dst, oldDst);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    ::ReleaseDC(NULL, screen);
    ::DeleteObject(strip);
    int index = AddImageWithVariants(cell, id);
    ::DeleteObject(cell);
    return index;
}

BOOL BCMenu::IsMenu(HMENU menu)
{
    return std::find(g_allSubMenus.begin(), g_allSubMenus.end(), menu) != g_allSubMenus.end();
}

BOOL BCMenu::AppendODMenu(LPCSTR text, UINT flags, UINT id, int toolBarOrImage)
{
    return AppendODMenu(ToWide(text).c_str(), flags, id, toolBarOrImage);
}

BOOL BCMenu::AppendODMenu(LPCWSTR text, UINT flags, UINT id, int toolBarOrImage)
{
    if (!m_hMenu && !CreatePopupMenu())
        return FALSE;
    if (id == 0 && !(flags & MF_POPUP))
        flags = MF_SEPARATOR | MF_OWNERDRAW | (flags & MF_BYPOSITION);
    else
        flags |= MF_OWNERDRAW;
    if (flags & MF_POPUP) {
        g_allSubMenus.push_back((HMENU)(UINT_PTR)id);
        m_subMenus.push_back((HMENU)(UINT_PTR)id);
    }
    BCMenuData* data = new BCMenuData;
    data->text = text ? text : L"";
    data->menuFlags = flags;
    data->commandId = id;
    if (!(flags & (MF_SEPARATOR | MF_POPUP)))
        data->imageIndex =
            toolBarOrImage < 0 ? CommandImage(id) : AddToolBarImage((UINT)toolBarOrImage, id);
    m_items.push_back(data);
    BOOL ok = ::AppendMenuW(m_hMenu, flags, id, (LPCWSTR)data);
    if (m_loadMenu)
        TurnTopLevelIntoText();
    return ok;
}

void BCMenu::TurnTopLevelIntoText()
{
    const int count = ::GetMenuItemCount(m_hMenu);
    if (m_items.empty() || count <= 0)
        return;
    // Items the system put in front (a child window's icon) are skipped.
    int offset = 0;
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        ::GetMenuItemInfoW(m_hMenu, pos, TRUE, &info);
        wchar_t buf[256] = L"";
        ::GetMenuStringW(m_hMenu, pos, buf, 255, MF_BYPOSITION);
        if (info.dwItemData == (ULONG_PTR)m_items[0] || m_items[0]->text == buf) {
            offset = pos;
            break;
        }
    }
    for (size_t i = 0; i < m_items.size() && offset + (int)i < count; ++i) {
        HMENU sub = ::GetSubMenu(m_hMenu, offset + (int)i);
        if (sub)
            ::ModifyMenuW(m_hMenu, offset + (UINT)i, MF_BYPOSITION | MF_POPUP | MF_STRING,
                          (UINT_PTR)sub, m_items[i]->text.c_str());
    }
}

BOOL BCMenu::LoadMenu(UINT resourceId) { return LoadMenu(MAKEINTRESOURCEA(resourceId)); }

namespace {
// Walks one level of a menu template into menu; returns where it ended or
// NULL for a template that runs past its end.
const WORD* ParseLevel(BCMenu* menu, const WORD* p, const WORD* end)
{
    while (p < end) {
        WORD flags = *p++;
        WORD id = 0;
        if (!(flags & MF_POPUP)) {
            if (p >= end)
                return NULL;
            id = *p++;
        }
        const wchar_t* text = (const wchar_t*)p;
        while (p < end && *p)
            ++p;
        if (p >= end)
            return NULL;
        ++p;
        const UINT itemFlags = flags & ~(MF_END | MF_POPUP | MF_HILITE);
        if (flags & MF_POPUP) {
            BCMenu* sub = new BCMenu;
            sub->CreatePopupMenu();
            p = ParseLevel(sub, p, end);
            if (!p) {
                delete sub; // with whatever it held
                return NULL;
            }
            menu->AppendODMenu(text, itemFlags | MF_POPUP, (UINT)(UINT_PTR)sub->m_hMenu, -1);
        } else
            menu->AppendODMenu(text, itemFlags, id, -1);
        if (flags & MF_END)
            return p;
    }
    return NULL;
}
} // namespace

BOOL BCMenu::LoadMenu(LPCTSTR resourceName)
{
    HINSTANCE candidates[2] = {AfxGetResourceHandle(), ::GetModuleHandleA(NULL)};
    HRSRC res = NULL;
    HINSTANCE inst = NULL;
    for (HINSTANCE c : candidates)
        if ((res = ::FindResourceA(c, resourceName, (LPCSTR)RT_MENU)) != NULL) {
            inst = c;
            break;
        }
    if (!res)
        return FALSE;
    const DWORD size = ::SizeofResource(inst, res);
    const WORD* data = (const WORD*)::LockResource(::LoadResource(inst, res));
    if (!data || size < 4 || data[0] != 0)
        return FALSE;
    DestroyMenu();
    if (!CreateMenu())
        return FALSE;
    const WORD* end = data + size / 2;
    const WORD* p = data + 2 + data[1] / 2;
    if (!ParseLevel(this, p, end)) {
        // A damaged template: nothing half-built is kept.
        DestroyMenu();
        return FALSE;
    }
    m_loadMenu = TRUE;
    TurnTopLevelIntoText();
    return TRUE;
}

void BCMenu::DeleteItems()
{
    for (BCMenuData* d : m_items)
        delete d;
    m_items.clear();
}

BOOL BCMenu::DestroyMenu()
{
    // Let go of the popups before destroying them, so that no item of this
    // menu refers to a destroyed menu.
    if (m_hMenu)
        for (int pos = ::GetMenuItemCount(m_hMenu) - 1; pos >= 0; --pos)
            if (::GetSubMenu(m_hMenu, pos))
                ::RemoveMenu(m_hMenu, pos, MF_BYPOSITION);
    if (m_hMenu)
        g_allSubMenus.erase(std::remove(g_allSubMenus.begin(), g_allSubMenus.end(), m_hMenu),
                            g_allSubMenus.end());
    std::vector<HMENU> subs;
    subs.swap(m_subMenus);
    for (HMENU h : subs) {
        g_allSubMenus.erase(std::remove(g_allSubMenus.begin(), g_allSubMenus.end(), h),
                            g_allSubMenus.end());
        BCMenu* sub = dynamic_cast<BCMenu*>(CMenu::FromHandlePermanent(h));
        if (sub && sub != this)
            delete sub; // its destructor destroys its own popups
        else if (!sub && ::IsMenu(h))
            ::DestroyMenu(h);
    }
    DeleteItems();
    if (m_checkMaps && !m_checkMapShare) {
        m_checkMaps->DeleteImageList();
        delete m_checkMaps;
    }
    m_checkMaps = NULL;
    m_loadMenu = FALSE;
    return m_hMenu ? CMenu::DestroyMenu() : FALSE;
}

BOOL BCMenu::ModifyODMenu(UINT position, UINT flags, UINT id, LPCSTR text)
{
    int pos = (int)position;
    BCMenu* holder = this;
    if (!(flags & MF_BYPOSITION)) {
        holder = FindMenuItem(position, &pos);
        if (!holder)
            return FALSE;
    }
    if (pos < 0 || pos >= (int)holder->m_items.size())
        return FALSE;
    BCMenuData* data = new BCMenuData;
    data->text = ToWide(text);
    data->menuFlags = flags;
    data->commandId = id;
    data->imageIndex = CommandImage(id);
    BOOL ok = ::ModifyMenuW(holder->m_hMenu, pos, (flags | MF_BYPOSITION), id,
                            (flags & MF_OWNERDRAW) ? (LPCWSTR)data : data->text.c_str());
    delete holder->m_items[pos];
    holder->m_items[pos] = data;
    return ok;
}

BCMenu* BCMenu::FindMenuItem(UINT id, int* position)
{
    const int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int pos = 0; pos < count; ++pos) {
        HMENU sub = ::GetSubMenu(m_hMenu, pos);
        if (!sub && ::GetMenuItemID(m_hMenu, pos) == id) {
            if (position)
                *position = pos;
            return this;
        }
        if (sub)
            if (BCMenu* child = dynamic_cast<BCMenu*>(CMenu::FromHandlePermanent(sub)))
                if (BCMenu* found = child->FindMenuItem(id, position))
                    return found;
    }
    if (position)
        *position = -1;
    return NULL;
}

BOOL BCMenu::GetMenuText(UINT idOrPosition, CString& text, UINT flags)
{
    if (flags & MF_BYPOSITION) {
        if (idOrPosition >= m_items.size())
            return FALSE;
        text = ToAnsi(m_items[idOrPosition]->text);
        return TRUE;
    }
    int pos = -1;
    BCMenu* holder = FindMenuItem(idOrPosition, &pos);
    return holder ? holder->GetMenuText((UINT)pos, text, MF_BYPOSITION) : FALSE;
}

void BCMenu::ConvertMenu()
{
    const int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    std::vector<BCMenuData*> old;
    old.swap(m_items);
    std::vector<bool> used(old.size(), false);
    for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        ::GetMenuItemInfoW(m_hMenu, pos, TRUE, &info);
        const bool popup = info.hSubMenu != NULL, separator = (info.fType & MFT_SEPARATOR) != 0;
        const UINT id = popup ? (UINT)(UINT_PTR)info.hSubMenu : info.wID;
        BCMenuData* match = NULL;
        for (size_t i = 0; i < old.size() && !match; ++i)
            if (!used[i] && old[i]->commandId == id && !separator) {
                used[i] = true;
                match = old[i];
            }
        wchar_t buf[256] = L"";
        ::GetMenuStringW(m_hMenu, pos, buf, 255, MF_BYPOSITION);
        if (!match) {
            match = new BCMenuData;
            match->commandId = separator ? 0 : id;
            match->menuFlags = MF_BYPOSITION | MF_OWNERDRAW | (popup ? MF_POPUP : 0) |
                               (separator ? MF_SEPARATOR : 0);
            match->text = buf;
            match->imageIndex = popup || separator ? -1 : CommandImage(id);
        } else if (popup && buf[0])
            match->text = buf;
        m_items.push_back(match);
        ::ModifyMenuW(m_hMenu, pos,
                      MF_BYPOSITION | MF_OWNERDRAW | (popup ? MF_POPUP : 0) |
                          (separator ? MF_SEPARATOR : 0),
                      popup ? (UINT_PTR)info.hSubMenu : info.wID, (LPCWSTR)match);
    }
    for (size_t i = 0; i < old.size(); ++i)
        if (!used[i])
            delete old[i];
}

LRESULT BCMenu::FindKeyboardShortcut(UINT c, UINT flags, CMenu* menu)
{
    BCMenu* bc = dynamic_cast<BCMenu*>(menu);
    if (!(flags & MF_POPUP) || !bc || !bc->m_hMenu)
        return 0;
    if ((int)bc->m_items.size() != ::GetMenuItemCount(bc->m_hMenu))
        bc->ConvertMenu();
    wchar_t key[3] = {L'&', (wchar_t)::towlower((wint_t)c), 0};
    for (size_t pos = 0; pos < bc->m_items.size(); ++pos) {
        std::wstring text = bc->m_items[pos]->text;
        for (auto& ch : text)
            ch = (wchar_t)::towlower(ch);
        if (text.find(key) != std::wstring::npos)
            return MAKELRESULT(pos, MNC_EXECUTE);
    }
    return 0;
}

void BCMenu::InsertSpaces()
{
    HDC dc = ::GetDC(NULL);
    HFONT font = CreateMenuFont();
    HGDIOBJ old = ::SelectObject(dc, font);
    auto width = [&](const std::wstring& s) {
        SIZE sz = {0, 0};
        ::GetTextExtentPoint32W(dc, s.c_str(), (int)s.size(), &sz);
        return (int)sz.cx;
    };
    int widest = 0;
    for (BCMenuData* d : m_items) {
        size_t tab = d->text.find(L'\t');
        if (tab != std::wstring::npos)
            widest = std::max(widest, width(d->text.substr(0, tab) + L" "));
    }
    for (size_t pos = 0; pos < m_items.size(); ++pos) {
        BCMenuData* d = m_items[pos];
        size_t tab = d->text.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        std::wstring head = d->text.substr(0, tab);
        while (width(head + L" ") < widest)
            head += L' ';
        d->text = head + d->text.substr(tab);
    }
    ::SelectObject(dc, old);
    DeleteFont(font);
    ::ReleaseDC(NULL, dc);
}

void BCMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    BCMenuData* data = (BCMenuData*)lpMIS->itemData;
    if (!data)
        return;
    const BOOL flat = UsesFlatLook();
    const int b = flat ? 7 : 4;
    if (data->menuFlags & MF_SEPARATOR) {
        lpMIS->itemWidth = 0;
        lpMIS->itemHeight = std::max(::GetSystemMetrics(SM_CYMENU) / 2, (m_iconY + b) / 2);
        return;
    }
    CWnd* main = AfxGetMainWnd();
    HWND wnd = main && main->GetSafeHwnd() ? main->GetSafeHwnd() : ::GetDesktopWindow();
    HDC dc = ::GetDC(wnd);
    HFONT font = CreateMenuFont();
    HGDIOBJ old = GetShellType() >= 2 ? ::SelectObject(dc, font) : NULL;
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32W(dc, data->text.c_str(), (int)data->text.size(), &sz);
    if (old)
        ::SelectObject(dc, old);
    DeleteFont(font);
    ::ReleaseDC(wnd, dc);
    lpMIS->itemWidth = flat ? m_iconX + sz.cx + b + 8 : sz.cx + 2 * m_iconX + 1;
    lpMIS->itemHeight = std::max(::GetSystemMetrics(SM_CYMENU), m_iconY + b);
}

void BCMenu::DrawImage(HDC dc, BCMenuData* data, int x, int y, BOOL disabled)
{
    HIMAGELIST list = NULL;
    int index = data->imageIndex;
    if (data->imageList && data->imageList->GetSafeHandle()) {
        list = (HIMAGELIST)data->imageList->GetSafeHandle();
        index = index < 0 ? 0 : index;
    } else if (index >= 0)
        list = (HIMAGELIST)GetSharedImages()->GetSafeHandle();
    if (!list || index < 0 || index >= ImageList_GetImageCount(list))
        return;
    if (!disabled) {
        ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    if (!data->imageList && CommandHasVariants(data->commandId) && UsesFlatLook(dc)) {
        ImageList_Draw(list, index + 2, dc, x, y, ILD_TRANSPARENT); // the silhouette
        return;
    }
    // Embossed from the image's shape: highlight offset, shadow in place.
    HICON icon = ImageList_GetIcon(list, index, ILD_TRANSPARENT);
    if (icon) {
        ::DrawStateW(dc, NULL, NULL, (LPARAM)icon, 0, x, y, 0, 0, DST_ICON | DSS_DISABLED);
        ::DestroyIcon(icon);
    }
}

namespace {
void Fill(HDC dc, const RECT& r, COLORREF c)
{
    ::SetBkColor(dc, c);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, NULL, 0, NULL);
}

void DrawTick(HDC dc, int x, int y, COLORREF c)
{
    HPEN pen = ::CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = ::SelectObject(dc, pen);
    for (int i = 0; i < 3; ++i) {
        ::MoveToEx(dc, x, y + 2 + i, NULL);
        ::LineTo(dc, x + 2, y + 4 + i);
        ::LineTo(dc, x + 7, y - 1 + i);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void DrawDot(HDC dc, int cx, int cy, COLORREF c)
{
    HBRUSH brush = ::CreateSolidBrush(c);
    HPEN pen = ::CreatePen(PS_SOLID, 1, c);
    HGDIOBJ ob = ::SelectObject(dc, brush), op = ::SelectObject(dc, pen);
    ::Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
    ::SelectObject(dc, ob);
    ::SelectObject(dc, op);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
}

void DrawItemText(HDC dc, const std::wstring& text, RECT r, COLORREF colour)
{
    ::SetTextColor(dc, colour);
    size_t tab = text.find(L'\t');
    std::wstring head = text.substr(0, tab);
    ::DrawTextW(dc, head.c_str(), (int)head.size(), &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (tab != std::wstring::npos) {
        std::wstring tail = text.substr(tab + 1);
        r.right -= 8;
        ::DrawTextW(dc, tail.c_str(), (int)tail.size(), &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
}

bool IsRadioItem(HMENU menu, const BCMenuData* data, UINT itemId)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoW(menu, itemId, FALSE, &info) && (info.fType & MFT_RADIOCHECK);
}
} // namespace

void BCMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    BCMenuData* data = (BCMenuData*)lpDIS->itemData;
    if (!data || lpDIS->CtlType != ODT_MENU)
        return;
    if (UsesFlatLook(lpDIS->hDC))
        DrawFlat(lpDIS, data);
    else
        DrawClassic(lpDIS, data);
}

void BCMenu::DrawFlat(LPDRAWITEMSTRUCT lpDIS, BCMenuData* data)
{
    RECT item = lpDIS->rcItem;
    const BOOL grayed = (lpDIS->itemState & ODS_GRAYED) != 0;
    const BOOL selected = (lpDIS->itemState & ODS_SELECTED) && !grayed;
    const BOOL checked = (lpDIS->itemState & ODS_CHECKED) != 0;
    const int w = item.right - item.left, h = item.bottom - item.top;
    // A grayed item is composed off screen and copied in one step.
    HDC target = lpDIS->hDC, dc = target;
    HDC mem = NULL;
    HBITMAP bmp = NULL;
    HGDIOBJ oldBmp = NULL;
    RECT r = item;
    if (grayed) {
        mem = ::CreateCompatibleDC(target);
        bmp = ::CreateCompatibleBitmap(target, w, h);
        oldBmp = ::SelectObject(mem, bmp);
        dc = mem;
        r = RECT{0, 0, w, h};
    }
    const int column = m_iconX + 7;
    Fill(dc, r, ::GetSysColor(COLOR_WINDOW));
    RECT col = {r.left, r.top, r.left + column, r.bottom};
    Fill(dc, col, ::GetSysColor(COLOR_3DFACE));
    if (data->menuFlags & MF_SEPARATOR) {
        RECT line = {r.left + column, r.top + (r.bottom - r.top) / 2, r.right, r.bottom};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    } else {
        if (selected) {
            Fill(dc, r, LightenColor(::GetSysColor(COLOR_HIGHLIGHT), 0.7));
            HBRUSH frame = ::CreateSolidBrush(::GetSysColor(COLOR_HIGHLIGHT));
            ::FrameRect(dc, &r, frame);
            ::DeleteObject(frame);
        }
        const int ix = r.left + 3, iy = r.top + (r.bottom - r.top - m_iconY) / 2;
        const bool hasImage = data->imageIndex >= 0 || data->imageList;
        if (hasImage)
            DrawImage(dc, data, ix, iy, grayed);
        else if (checked) {
            const COLORREF mark = ::GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
            if (IsRadioItem(m_hMenu, data, lpDIS->itemID))
                DrawDot(dc, r.left + column / 2, r.top + (r.bottom - r.top) / 2, mark);
            else
                DrawTick(dc, r.left + column / 2 - 4, r.top + (r.bottom - r.top) / 2 - 3, mark);
        }
        HFONT font = CreateMenuFont();
        HGDIOBJ oldFont = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        RECT text = {r.left + column + 8, r.top, r.right, r.bottom};
        DrawItemText(dc, data->text, text, ::GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        ::SelectObject(dc, oldFont);
        DeleteFont(font);
    }
    if (mem) {
        ::BitBlt(target, item.left, item.top, w, h, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, oldBmp);
        ::DeleteObject(bmp);
        ::DeleteDC(mem);
    }
}

void BCMenu::DrawClassic(LPDRAWITEMSTRUCT lpDIS, BCMenuData* data)
{
    HDC dc = lpDIS->hDC;
    RECT r = lpDIS->rcItem;
    const BOOL grayed = (lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    const BOOL checked = (lpDIS->itemState & ODS_CHECKED) != 0;
    const COLORREF back = ::GetSysColor(IsXPThemed() ? COLOR_3DFACE : COLOR_MENU);
    Fill(dc, r, back);
    if (data->menuFlags & MF_SEPARATOR) {
        RECT line = {r.left, r.top + (r.bottom - r.top) / 2, r.right, r.bottom};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int box = m_iconX + 4;
    RECT imageBox = {r.left, r.top, r.left + box, r.bottom};
    RECT textArea = {r.left + box + 1, r.top, r.right, r.bottom};
    if (selected)
        Fill(dc, textArea, ::GetSysColor(COLOR_HIGHLIGHT));
    const bool hasImage = data->imageIndex >= 0 || data->imageList;
    const COLORREF hi = ::GetSysColor(COLOR_3DHILIGHT), lo = ::GetSysColor(COLOR_3DSHADOW);
    auto frame = [&](bool raised) {
        HPEN a = ::CreatePen(PS_SOLID, 1, raised ? hi : lo),
             b = ::CreatePen(PS_SOLID, 1, raised ? lo : hi);
        HGDIOBJ old = ::SelectObject(dc, a);
        ::MoveToEx(dc, imageBox.left, imageBox.bottom - 1, NULL);
        ::LineTo(dc, imageBox.left, imageBox.top);
        ::LineTo(dc, imageBox.right - 1, imageBox.top);
        ::SelectObject(dc, b);
        ::LineTo(dc, imageBox.right - 1, imageBox.bottom - 1);
        ::LineTo(dc, imageBox.left, imageBox.bottom - 1);
        ::SelectObject(dc, old);
        ::DeleteObject(a);
        ::DeleteObject(b);
    };
    const int ix = r.left + 2, iy = r.top + (r.bottom - r.top - m_iconY) / 2;
    if (hasImage) {
        if (checked) {
            RECT inner = imageBox;
            ::InflateRect(&inner, -1, -1);
            Fill(dc, inner, LightenColor(back, 0.6));
            frame(false);
        } else if (selected && !grayed)
            frame(true);
        DrawImage(dc, data, ix, iy, grayed);
    } else if (checked) {
        const COLORREF mark = ::GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
        const int cx = r.left + box / 2, cy = r.top + (r.bottom - r.top) / 2;
        if (IsRadioItem(m_hMenu, data, lpDIS->itemID))
            DrawDot(dc, cx, cy, mark);
        else
            DrawTick(dc, cx - 4, cy - 3, mark);
    }
    HFONT font = CreateMenuFont();
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    RECT text = {textArea.left + 4, r.top, r.right, r.bottom};
    if (grayed) {
        if (!selected) {
            RECT shadow = text;
            ::OffsetRect(&shadow, 1, 1);
            DrawItemText(dc, data->text, shadow, hi);
        }
        DrawItemText(dc, data->text, text, ::GetSysColor(COLOR_GRAYTEXT));
    } else
        DrawItemText(dc, data->text, text,
                     ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    ::SelectObject(dc, oldFont);
    DeleteFont(font);
}
