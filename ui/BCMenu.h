#pragma once
#include "afxcmn.h"
#include "afxwin.h"

#include <string>
#include <vector>

// One item of a BCMenu: its text (wide), image and flags.
class BCMenuData
{
public:
    BCMenuData() = default;
    ~BCMenuData();
    BCMenuData(const BCMenuData&) = delete;
    BCMenuData& operator=(const BCMenuData&) = delete;

    std::wstring text;
    int reserved1 = -1;
    int reserved2 = -1;
    int imageIndex = -1; // in the shared image list, -1 for none
    int flagWord = 0;
    int furtherIndex = -1;
    UINT menuFlags = 0;              // as appended, always with MF_OWNERDRAW
    UINT commandId = 0;              // for a popup its menu handle
    CImageList* imageList = nullptr; // an image list of the item's own
    int spare = 0;
};

// A menu whose items are all owner-drawn, each with a small image beside its
// text: a flat look with a shaded image column on a themed XP system, a
// raised classic look elsewhere. Items come from a menu resource or are
// appended one by one; images from tool-bar resources.
class BCMenu : public CMenu
{
public:
    BCMenu();
    ~BCMenu() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    virtual BOOL LoadMenu(UINT resourceId);
    virtual BOOL LoadMenu(LPCTSTR resourceName);
    virtual BOOL DestroyMenu();

    // toolBarOrImage: negative takes the command's image from the shared
    // command table; otherwise it names a tool-bar resource whose button for
    // the command gives the image.
    BOOL AppendODMenu(LPCWSTR text, UINT flags = MF_OWNERDRAW, UINT id = 0,
                      int toolBarOrImage = -1);
    BOOL AppendODMenu(LPCSTR text, UINT flags = MF_OWNERDRAW, UINT id = 0, int toolBarOrImage = -1);
    BOOL ModifyODMenu(UINT position, UINT flags, UINT id, LPCSTR text);
    BCMenu* FindMenuItem(UINT id, int* position);
    BOOL GetMenuText(UINT idOrPosition, CString& text, UINT flags = MF_BYPOSITION);
    void InsertSpaces();
    void ConvertMenu();
    int GetItemCount() const { return (int)m_items.size(); }
    BCMenuData* GetItem(int position) const
    {
        return position >= 0 && position < (int)m_items.size() ? m_items[position] : nullptr;
    }

    static BOOL IsMenu(HMENU menu);
    static COLORREF LightenColor(COLORREF c, double f);
    static HBITMAP LoadSysColorBitmap(UINT id);
    // The answer to WM_MENUCHAR for a popup menu.
    static LRESULT FindKeyboardShortcut(UINT c, UINT flags, CMenu* menu);

    // The look: shell type (0..7) as detected at start-up, and whether the
    // flat look applies. The shell type can be set for a test.
    static int GetShellType();
    static void SetShellType(int type);
    static BOOL IsXPThemed();
    static BOOL UsesFlatLook(HDC dc = NULL);
    // The shared image list and the image index of a command (-1 for none).
    static CImageList* GetSharedImages();
    static int CommandImage(UINT id);
    static BOOL CommandHasVariants(UINT id);

protected:
    void TurnTopLevelIntoText();
    static int AddToolBarImage(UINT toolBarId, UINT id);
    static int AddImageWithVariants(HBITMAP image, UINT id);
    void DrawFlat(LPDRAWITEMSTRUCT lpDIS, BCMenuData* data);
    void DrawClassic(LPDRAWITEMSTRUCT lpDIS, BCMenuData* data);
    void DrawImage(HDC dc, BCMenuData* data, int x, int y, BOOL disabled);
    void DeleteItems();

    std::vector<BCMenuData*> m_items;
    std::vector<HMENU> m_subMenus;
    int m_iconX;
    int m_iconY;
    COLORREF m_bitmapBackground;
    BOOL m_bitmapBackgroundFlag;
    CImageList* m_checkMaps;
    BOOL m_checkMapShare;
    int m_selectCheck;
    int m_unselectCheck;
    BOOL m_loadMenu;
    BOOL m_spareFlag;
};
