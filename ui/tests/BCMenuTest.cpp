#include <gtest/gtest.h>

#include "BCMenu.h"
#include "CMemoryDC.h"
#include "SkinTestResource.h"

#include <algorithm>

TEST(BCMenu, LightenColor)
{
    struct Case
    {
        COLORREF in;
        double f;
        COLORREF out;
    };
    const Case cases[] = {
        {RGB(0, 0, 0), 0.5, RGB(127, 127, 127)},
        {RGB(100, 200, 255), 0.0, RGB(100, 200, 255)},
        {RGB(100, 200, 255), 1.0, RGB(255, 255, 255)},
        {RGB(10, 20, 30), 1.5, RGB(10, 20, 30)},
        {RGB(10, 20, 30), -0.1, RGB(10, 20, 30)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, BCMenu::LightenColor(c.in, c.f)) << c.f;
}

TEST(BCMenu, LoadsAResourceMenuIntoOwnerDrawnPopups)
{
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_SKIN_MENU));
    // The top level stays a plain text bar; its popups are owner-drawn.
    ASSERT_EQ(1u, menu.GetMenuItemCount());
    EXPECT_FALSE(menu.GetMenuState(0, MF_BYPOSITION) & MF_OWNERDRAW);
    char text[64] = "";
    ::GetMenuStringA(menu.m_hMenu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&File", text);
    HMENU file = ::GetSubMenu(menu.m_hMenu, 0);
    ASSERT_TRUE(file);
    EXPECT_TRUE(BCMenu::IsMenu(file));
    BCMenu* filePopup = dynamic_cast<BCMenu*>(CMenu::FromHandlePermanent(file));
    ASSERT_TRUE(filePopup);
    ASSERT_EQ(4, filePopup->GetItemCount());
    EXPECT_TRUE(filePopup->GetMenuState(0, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_TRUE(filePopup->GetItem(1)->menuFlags & MF_SEPARATOR);

    int pos = -1;
    BCMenu* holder = menu.FindMenuItem(ID_SKIN_CMD_C, &pos);
    ASSERT_TRUE(holder);
    EXPECT_NE(filePopup, holder);
    EXPECT_EQ(0, pos);
    EXPECT_EQ(nullptr, menu.FindMenuItem(9999, &pos));
    EXPECT_EQ(-1, pos);

    CString s;
    EXPECT_TRUE(menu.GetMenuText(ID_SKIN_CMD_A, s, MF_BYCOMMAND));
    EXPECT_STREQ("&Alpha\tCtrl+A", (LPCSTR)s);
    EXPECT_FALSE(menu.GetMenuText(9999, s, MF_BYCOMMAND));

    // Keyboard shortcuts of a popup: the item position and "execute".
    EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), BCMenu::FindKeyboardShortcut('B', MF_POPUP, filePopup));
    EXPECT_EQ(MAKELRESULT(3, MNC_EXECUTE), BCMenu::FindKeyboardShortcut('m', MF_POPUP, filePopup));
    EXPECT_EQ(0, BCMenu::FindKeyboardShortcut('z', MF_POPUP, filePopup));
    EXPECT_EQ(0, BCMenu::FindKeyboardShortcut('b', 0, filePopup));

    // Destroying the menu deletes its popups and forgets their handles.
    HMENU more = holder->m_hMenu;
    menu.DestroyMenu();
    EXPECT_FALSE(BCMenu::IsMenu(file));
    EXPECT_FALSE(BCMenu::IsMenu(more));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(file));
}

TEST(BCMenu, ImagesFromToolBarsWithTheirVariants)
{
    BCMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("Alpha", MF_STRING, ID_SKIN_CMD_A, IDR_SKIN_TOOLBAR));
    ASSERT_TRUE(menu.AppendODMenu("Alpha again", MF_STRING, ID_SKIN_CMD_A, -1));
    ASSERT_TRUE(menu.AppendODMenu("No image", MF_STRING, ID_SKIN_CMD_B, -1));
    ASSERT_TRUE(menu.AppendODMenu(L"", 0, 0, -1)); // separator
    const int image = menu.GetItem(0)->imageIndex;
    EXPECT_GE(image, 0);
    EXPECT_EQ(image, menu.GetItem(1)->imageIndex); // from the command table
    EXPECT_EQ(image, BCMenu::CommandImage(ID_SKIN_CMD_A));
    EXPECT_TRUE(BCMenu::CommandHasVariants(ID_SKIN_CMD_A));
    EXPECT_EQ(-1, menu.GetItem(2)->imageIndex);
    EXPECT_TRUE(menu.GetItem(3)->menuFlags & MF_SEPARATOR);
    EXPECT_EQ(image + 3,
              ImageList_GetImageCount((HIMAGELIST)BCMenu::GetSharedImages()->GetSafeHandle()));
    // An unknown tool bar gives no image and no failure.
    ASSERT_TRUE(menu.AppendODMenu("Unknown", MF_STRING, ID_SKIN_CMD_C, 9999));
    EXPECT_EQ(-1, menu.GetItem(4)->imageIndex);
}

namespace {
UINT Measure(BCMenu& menu, int position)
{
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = (ULONG_PTR)menu.GetItem(position);
    menu.MeasureItem(&mis);
    return mis.itemHeight;
}

// Draws one item into a memory surface; the number of pixels of a colour.
int DrawAndCount(BCMenu& menu, int position, UINT state, COLORREF colour)
{
    CMemoryDC dc(200, 24);
    dc.FillSolidRect(0, 0, 200, 24, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = menu.GetItem(position)->commandId;
    dis.itemState = state;
    dis.hwndItem = (HWND)menu.m_hMenu;
    dis.hDC = dc.GetSafeHdc();
    dis.rcItem = RECT{0, 0, 200, 24};
    dis.itemData = (ULONG_PTR)menu.GetItem(position);
    menu.DrawItem(&dis);
    int n = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x)
            n += dc.GetPixel(x, y) == colour;
    return n;
}
} // namespace

TEST(BCMenu, MeasuresAndDrawsInBothLooks)
{
    BCMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("Alpha", MF_STRING, ID_SKIN_CMD_A, IDR_SKIN_TOOLBAR));
    ASSERT_TRUE(menu.AppendODMenu(L"", 0, 0, -1));
    const int cyMenu = ::GetSystemMetrics(SM_CYMENU);

    BCMenu::SetShellType(7); // XP: flat unless the classic theme is chosen
    ASSERT_TRUE(BCMenu::UsesFlatLook());
    EXPECT_EQ((UINT)std::max(cyMenu / 2, 11), Measure(menu, 1));
    EXPECT_EQ((UINT)std::max(cyMenu, 22), Measure(menu, 0));
    const COLORREF flatSelection = BCMenu::LightenColor(::GetSysColor(COLOR_HIGHLIGHT), 0.7);
    EXPECT_GT(DrawAndCount(menu, 0, ODS_SELECTED, flatSelection), 100);
    EXPECT_GT(DrawAndCount(menu, 0, 0, RGB(255, 0, 0)), 20); // the tool-bar image
    EXPECT_EQ(
        0, DrawAndCount(menu, 0, ODS_SELECTED | ODS_GRAYED, flatSelection)); // grayed: not selected
    EXPECT_EQ(0, DrawAndCount(menu, 0, ODS_GRAYED, RGB(255, 0, 0)));         // the silhouette

    BCMenu::SetShellType(6); // 2000: classic
    ASSERT_FALSE(BCMenu::UsesFlatLook());
    EXPECT_EQ((UINT)std::max(cyMenu / 2, 9), Measure(menu, 1));
    EXPECT_GT(DrawAndCount(menu, 0, ODS_SELECTED, ::GetSysColor(COLOR_HIGHLIGHT)), 100);
    EXPECT_EQ(0, DrawAndCount(menu, 0, 0, ::GetSysColor(COLOR_HIGHLIGHT)));
}

TEST(BCMenu, InsertSpacesAlignsAccelerators)
{
    BCMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu("A\tCtrl+A", MF_STRING, ID_SKIN_CMD_A, -1);
    menu.AppendODMenu("Much longer\tCtrl+B", MF_STRING, ID_SKIN_CMD_B, -1);
    menu.AppendODMenu("Plain", MF_STRING, ID_SKIN_CMD_C, -1);
    menu.InsertSpaces();
    CString a, b, c;
    menu.GetMenuText(0, a);
    menu.GetMenuText(1, b);
    menu.GetMenuText(2, c);
    EXPECT_STREQ("Plain", (LPCSTR)c);
    EXPECT_STREQ("Much longer\tCtrl+B", (LPCSTR)b);
    ASSERT_GT(a.Find('\t'), 1);
    EXPECT_EQ(a.Left(1), "A");
    EXPECT_EQ(a.Mid(a.Find('\t')), "\tCtrl+A");
    HDC dc = ::GetDC(NULL);
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    HFONT font = ::CreateFontIndirectA(&ncm.lfMenuFont);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE sa, sb, space;
    ::GetTextExtentPoint32A(dc, a, a.Find('\t'), &sa);
    ::GetTextExtentPoint32A(dc, b, b.Find('\t'), &sb);
    ::GetTextExtentPoint32A(dc, " ", 1, &space);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(NULL, dc);
    EXPECT_GE(sa.cx + space.cx, sb.cx + space.cx);
    EXPECT_LT(sa.cx, sb.cx + space.cx);
}

// Items added behind the menu's back get records of their own before a
// shortcut is looked up; a modified item takes its new text.
TEST(BCMenu, RecordsFollowTheMenu)
{
    BCMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu("&Alpha", MF_STRING, ID_SKIN_CMD_A, -1);
    ::AppendMenuA(menu.m_hMenu, MF_STRING, ID_SKIN_CMD_B, "&Bravo");
    ::AppendMenuA(menu.m_hMenu, MF_SEPARATOR, 0, NULL);
    EXPECT_EQ(1, menu.GetItemCount());
    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE), BCMenu::FindKeyboardShortcut('b', MF_POPUP, &menu));
    ASSERT_EQ(3, menu.GetItemCount());
    EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_TRUE(menu.GetItem(2)->menuFlags & MF_SEPARATOR);
    CString text;
    ASSERT_TRUE(menu.GetMenuText(1, text));
    EXPECT_STREQ("&Bravo", (LPCSTR)text);

    EXPECT_TRUE(
        menu.ModifyODMenu(ID_SKIN_CMD_A, MF_STRING | MF_OWNERDRAW, ID_SKIN_CMD_C, "&Charlie"));
    ASSERT_TRUE(menu.GetMenuText(0, text));
    EXPECT_STREQ("&Charlie", (LPCSTR)text);
    EXPECT_EQ((UINT)ID_SKIN_CMD_C, menu.GetMenuItemID(0));
    EXPECT_FALSE(menu.ModifyODMenu(9999, MF_STRING | MF_OWNERDRAW, 1, "x"));
}
