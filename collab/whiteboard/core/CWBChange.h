#pragma once
#include "CWBDocument.h"

#include <functional>
#include <vector>

// The change records of a whiteboard page: add (objects with their blobs),
// delete, move and resize, as peers exchange them. Builders write a record;
// Apply carries a received one out on a document.
class CWBChange
{
public:
    enum Action { actionAdd = 1, actionDelete = 2, actionMove = 3, actionResize = 4 };

    // Add records are built item by item: Begin, Append..., End. Append
    // fails (and adds nothing) for a page beyond one byte, an object without
    // a blob, or a record that would pass 65535 bytes of items.
    static void BeginAdd(std::vector<BYTE>& rec);
    static BOOL AppendAddItem(std::vector<BYTE>& rec, int nPage, CDrawObj* pObj);
    static UINT AddItemSize(CDrawObj* pObj);
    // FALSE for a record without items: such a record is never sent.
    static BOOL EndAdd(std::vector<BYTE>& rec, DWORD nItems);
    static BOOL BuildAdd(std::vector<BYTE>& rec, int nPage, CDrawObj* pObj);
    static BOOL BuildDelete(std::vector<BYTE>& rec, int nPage, const DWORD* pIds, int nIds);
    static BOOL BuildMove(std::vector<BYTE>& rec, int nPage, SIZE offset, const DWORD* pIds,
                          int nIds);
    static BOOL BuildResize(std::vector<BYTE>& rec, int nPage, DWORD id, int nHandle, SIZE offset);

    // What Apply did: the action, the page it touched (of the last item for
    // adds) and, in document units, the area changed on nCurrentPage.
    struct Result
    {
        int action = 0;
        int page = -1;
        BOOL touchedCurrent = FALSE;
        CRect redraw;
    };
    // Applies a received record; FALSE for a record of a wrong length or an
    // unknown action (nothing changed). onRemove sees every object taken
    // off a page before it is deleted.
    static BOOL Apply(CWBDocument& doc, const BYTE* pRecord, UINT nLength, int nCurrentPage,
                      Result& result, const std::function<void(CDrawObj*)>& onRemove = nullptr);
};
