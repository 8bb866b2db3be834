#include "SettingsControls.h"

#include <commctrl.h>

namespace settingsui {

HWND Item(CWnd* dlg, int id) { return dlg && dlg->m_hWnd ? ::GetDlgItem(dlg->m_hWnd, id) : NULL; }

void ListReset(CWnd* dlg, int id)
{
    if (HWND h = Item(dlg, id))
        ::SendMessageA(h, CB_RESETCONTENT, 0, 0);
}

int ListAdd(CWnd* dlg, int id, const char* text, int data)
{
    HWND h = Item(dlg, id);
    if (!h)
        return -1;
    int at = (int)::SendMessageA(h, CB_ADDSTRING, 0, (LPARAM)(text ? text : ""));
    if (at >= 0)
        ::SendMessageA(h, CB_SETITEMDATA, at, data);
    return at;
}

int ListCount(CWnd* dlg, int id)
{
    HWND h = Item(dlg, id);
    if (!h)
        return 0;
    int n = (int)::SendMessageA(h, CB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : n;
}

int ListSel(CWnd* dlg, int id)
{
    HWND h = Item(dlg, id);
    return h ? (int)::SendMessageA(h, CB_GETCURSEL, 0, 0) : -1;
}

void ListSetSel(CWnd* dlg, int id, int index)
{
    if (HWND h = Item(dlg, id))
        ::SendMessageA(h, CB_SETCURSEL, index, 0);
}

int ListData(CWnd* dlg, int id, int index)
{
    HWND h = Item(dlg, id);
    return h ? (int)::SendMessageA(h, CB_GETITEMDATA, index, 0) : 0;
}

bool ListSelectData(CWnd* dlg, int id, int value)
{
    int n = ListCount(dlg, id);
    for (int i = 0; i < n; ++i) {
        if (ListData(dlg, id, i) == value) {
            ListSetSel(dlg, id, i);
            return true;
        }
    }
    ListSetSel(dlg, id, -1);
    return false;
}

int ListSelData(CWnd* dlg, int id, int fallback)
{
    int sel = ListSel(dlg, id);
    return sel < 0 ? fallback : ListData(dlg, id, sel);
}

CString ListText(CWnd* dlg, int id, int index)
{
    CString text;
    HWND h = Item(dlg, id);
    if (!h || index < 0)
        return text;
    int length = (int)::SendMessageA(h, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0)
        return text;
    char* buffer = text.GetBuffer(length + 1);
    ::SendMessageA(h, CB_GETLBTEXT, index, (LPARAM)buffer);
    text.ReleaseBuffer();
    return text;
}

CString ListSelText(CWnd* dlg, int id) { return ListText(dlg, id, ListSel(dlg, id)); }

bool Checked(CWnd* dlg, int id)
{
    HWND h = Item(dlg, id);
    return h && ::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(CWnd* dlg, int id, bool on)
{
    if (HWND h = Item(dlg, id))
        ::SendMessageA(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SliderRange(CWnd* dlg, int id, int low, int high)
{
    if (HWND h = Item(dlg, id)) {
        ::SendMessageA(h, TBM_SETRANGEMIN, FALSE, low);
        ::SendMessageA(h, TBM_SETRANGEMAX, TRUE, high);
    }
}

int SliderPos(CWnd* dlg, int id)
{
    HWND h = Item(dlg, id);
    return h ? (int)::SendMessageA(h, TBM_GETPOS, 0, 0) : 0;
}

void SliderSetPos(CWnd* dlg, int id, int pos)
{
    if (HWND h = Item(dlg, id))
        ::SendMessageA(h, TBM_SETPOS, TRUE, pos);
}

void EnableItem(CWnd* dlg, int id, bool on)
{
    if (HWND h = Item(dlg, id))
        ::EnableWindow(h, on);
}

void EnableChildren(CWnd* dlg, bool on)
{
    if (!dlg || !dlg->m_hWnd)
        return;
    for (HWND h = ::GetWindow(dlg->m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        ::EnableWindow(h, on);
}

} // namespace settingsui
