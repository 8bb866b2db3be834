#pragma once
#include "CCmdTarget.h"

// The state of one user-interface item (menu item, tool-bar button, status
// pane, dialog control) as an ON_UPDATE_COMMAND_UI handler sets it.
class CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() {}

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target to update this item; with bDisableIfNoHndler an item
    // whose command nobody handles is disabled. TRUE when someone answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID;
    UINT m_nIndex;
    CMenu* m_pMenu;
    CMenu* m_pSubMenu;
    CWnd* m_pOther;
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;
    CMenu* m_pParentMenu;
};
