#include "CRoomListCtrl.h"

#include <cstdio>
#include <cstring>

#include "CPtrArray.h"
#include "ServerWire.h"

CRoomListCtrl::CRoomListCtrl() {}

CRoomListCtrl::~CRoomListCtrl() {}

void CRoomListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    HWND header = reinterpret_cast<HWND>(::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0));
    if (header && !m_header.GetSafeHwnd())
        m_header.SubclassWindow(header);
}

CString CRoomListCtrl::RoomText(const CONF_INFO& room)
{
    // The name field need not be terminated.
    char name[sizeof room.name + 1] = {};
    memcpy(name, room.name, sizeof room.name);
    CString text;
    text.Format("%s(%d人次)", name, static_cast<int>(room.visits));
    return text;
}

void CRoomListCtrl::FillRooms(const CPtrArray& rooms, bool withOnline)
{
    DeleteAllItems();
    int row = 0;
    for (INT_PTR i = 0; i < rooms.GetSize(); ++i) {
        const CONF_INFO* room = static_cast<const CONF_INFO*>(rooms[i]);
        if (!room)
            continue;
        int item = InsertItem(row, RoomText(*room));
        if (item < 0)
            continue;
        if (withOnline) {
            char online[16];
            snprintf(online, sizeof online, "%d", static_cast<int>(room->online));
            SetItemText(item, 1, online);
        }
        SetItemData(item, reinterpret_cast<DWORD_PTR>(room));
        ++row;
    }
    if (GetItemCount() > 0)
        SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

const CONF_INFO* CRoomListCtrl::GetSelectedRoom() const
{
    if (!m_hWnd)
        return nullptr;
    int item = GetNextItem(-1, LVNI_SELECTED);
    if (item < 0)
        return nullptr;
    return reinterpret_cast<const CONF_INFO*>(GetItemData(item));
}
