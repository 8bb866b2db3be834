#pragma once
#include "afxcmn.h"
#include "CFlatHeaderCtrl.h"

struct CONF_INFO;
class CPtrArray;

// The room list: a report list whose header is the skinned flat header,
// attached when the list is subclassed. Each row keeps its room record.
class CRoomListCtrl : public CListCtrl
{
public:
    CRoomListCtrl();
    ~CRoomListCtrl() override;

    // "name(visits人次)", the text of a room's first column.
    static CString RoomText(const CONF_INFO& room);

    // One row per room of the list, in order, the first one selected;
    // withOnline adds the online count as a second column.
    void FillRooms(const CPtrArray& rooms, bool withOnline);
    // The room of the selected row, null when no row is selected.
    const CONF_INFO* GetSelectedRoom() const;

    CFlatHeaderCtrl& Header() { return m_header; }

protected:
    void PreSubclassWindow() override;

    CFlatHeaderCtrl m_header;
};
