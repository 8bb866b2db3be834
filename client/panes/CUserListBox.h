#pragma once
#include "afxwin.h"

#include <cstdint>

#include "CUserTable.h"
#include "PaneContext.h"

// The owner-drawn list of the meeting's participants: the own user first,
// the others by role in order of arrival, each row with its role, name,
// meeting-control, speech and video marks. For the host a right click opens
// the menu by which the meeting is driven; every change goes to the server.
class CUserListBox : public CListBox
{
public:
    enum : int { ITEM_HEIGHT = 22 };

    explicit CUserListBox(const PANE_CONTEXT& context);
    ~CUserListBox() override;

    BOOL CreateList(CWnd* parent, const RECT& rect, UINT id);

    void AddUser(uint32_t userId);
    void RemoveUser(uint32_t userId);
    void RefreshUser(uint32_t userId);
    // The row of a user, -1 when not listed.
    int FindUser(uint32_t userId) const;

    // Checks and greys the host menu's items for a participant (self: the
    // clicked participant is the own user).
    static void ApplyMenuStates(HMENU menu, const USER_INFO& user, bool self);
    // Opens the host menu over a row as a right click does (only for the
    // host, on a known participant); the menu is tracked at the point.
    void OpenHostMenu(CPoint clientPoint);
    // Carries out a host menu command on the participant of the last menu.
    void RunMenuCommand(UINT command);
    void SetMenuUser(uint32_t userId) { m_menuUser = userId; }
    uint32_t GetMenuUser() const { return m_menuUser; }
    HMENU GetHostMenu() const
    {
        return m_menu.GetSafeHmenu() ? ::GetSubMenu(m_menu.GetSafeHmenu(), 0) : NULL;
    }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void LoadImages();
    void TranslateMenus();

    PANE_CONTEXT m_ctx;
    CMenu m_menu;
    CMenu m_videoMenu;
    CMenu m_dataMenu;
    CBrush m_brush;
    HBITMAP m_images[12] = {};
    uint32_t m_menuUser = 0;
};
