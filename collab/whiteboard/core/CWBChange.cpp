#include "CWBChange.h"

#include "WbRecords.h"
#include "WireReader.h"
#include "WireWriter.h"

namespace {
const UINT kMaxItems = 0xFFFF;

BOOL Fits(int nPage) { return nPage >= 0 && nPage <= 0xFF; }

void Unite(CWBChange::Result& result, CDrawObj* obj)
{
    CRect rc;
    obj->GetUpdateRect(&rc);
    if (result.redraw.IsRectEmpty())
        result.redraw = rc;
    else
        result.redraw |= rc;
    result.touchedCurrent = TRUE;
}
} // namespace

void CWBChange::BeginAdd(std::vector<BYTE>& rec) { rec.assign(sizeof(WB_CHANGE_ADD_HEAD), 0); }

UINT CWBChange::AddItemSize(CDrawObj* pObj)
{
    return pObj ? sizeof(WB_CHANGE_ITEM_HEAD) + pObj->Pack(NULL, 0) : 0;
}

BOOL CWBChange::AppendAddItem(std::vector<BYTE>& rec, int nPage, CDrawObj* pObj)
{
    if (!pObj || !Fits(nPage) || rec.size() < sizeof(WB_CHANGE_ADD_HEAD))
        return FALSE;
    UINT blob = pObj->Pack(NULL, 0);
    if (blob == 0 || blob > 0xFFFF)
        return FALSE;
    size_t at = rec.size();
    if (at - sizeof(WB_CHANGE_ADD_HEAD) + sizeof(WB_CHANGE_ITEM_HEAD) + blob > kMaxItems)
        return FALSE;
    rec.resize(at + sizeof(WB_CHANGE_ITEM_HEAD) + blob);
    UINT packed = pObj->Pack(rec.data() + at + sizeof(WB_CHANGE_ITEM_HEAD), blob);
    if (packed != blob) {
        rec.resize(at);
        return FALSE;
    }
    WireWriter out(rec.data() + at, sizeof(WB_CHANGE_ITEM_HEAD));
    WB_CHANGE_ITEM_HEAD h = {(BYTE)nPage, (BYTE)pObj->GetType(), pObj->GetId(), (WORD)blob};
    out.Record(h);
    return TRUE;
}

BOOL CWBChange::EndAdd(std::vector<BYTE>& rec, DWORD nItems)
{
    if (nItems == 0 || rec.size() <= sizeof(WB_CHANGE_ADD_HEAD))
        return FALSE;
    WireWriter out(rec.data(), rec.size());
    WB_CHANGE_ADD_HEAD h = {actionAdd, nItems, (WORD)(rec.size() - sizeof(WB_CHANGE_ADD_HEAD))};
    return out.Record(h);
}

BOOL CWBChange::BuildAdd(std::vector<BYTE>& rec, int nPage, CDrawObj* pObj)
{
    BeginAdd(rec);
    return AppendAddItem(rec, nPage, pObj) && EndAdd(rec, 1);
}

BOOL CWBChange::BuildDelete(std::vector<BYTE>& rec, int nPage, const DWORD* pIds, int nIds)
{
    if (!Fits(nPage) || !pIds || nIds <= 0 || nIds > 0xFFFF)
        return FALSE;
    rec.resize(sizeof(WB_CHANGE_DELETE_HEAD) + 4 * (size_t)nIds);
    WireWriter out(rec.data(), rec.size());
    WB_CHANGE_DELETE_HEAD h = {actionDelete, (BYTE)nPage, (WORD)nIds};
    out.Record(h);
    for (int i = 0; i < nIds; ++i)
        out.U32(pIds[i]);
    return out.Ok();
}

BOOL CWBChange::BuildMove(std::vector<BYTE>& rec, int nPage, SIZE offset, const DWORD* pIds,
                          int nIds)
{
    if (!Fits(nPage) || !pIds || nIds <= 0 || nIds > 0xFFFF)
        return FALSE;
    rec.resize(sizeof(WB_CHANGE_MOVE_HEAD) + 4 * (size_t)nIds);
    WireWriter out(rec.data(), rec.size());
    WB_CHANGE_MOVE_HEAD h = {actionMove, (BYTE)nPage, offset.cx, offset.cy, (WORD)nIds};
    out.Record(h);
    for (int i = 0; i < nIds; ++i)
        out.U32(pIds[i]);
    return out.Ok();
}

BOOL CWBChange::BuildResize(std::vector<BYTE>& rec, int nPage, DWORD id, int nHandle, SIZE offset)
{
    if (!Fits(nPage) || nHandle < 0 || nHandle > 0xFFFF)
        return FALSE;
    rec.resize(sizeof(WB_CHANGE_RESIZE));
    WireWriter out(rec.data(), rec.size());
    WB_CHANGE_RESIZE r = {actionResize, (BYTE)nPage, id, (WORD)nHandle, offset.cx, offset.cy};
    return out.Record(r);
}

BOOL CWBChange::Apply(CWBDocument& doc, const BYTE* pRecord, UINT nLength, int nCurrentPage,
                      Result& result, const std::function<void(CDrawObj*)>& onRemove)
{
    result = Result();
    if (!pRecord || nLength == 0)
        return FALSE;
    WireReader in(pRecord, nLength);
    switch (pRecord[0]) {
    case actionAdd: {
        WB_CHANGE_ADD_HEAD h;
        if (nLength <= sizeof(h) || !in.Record(h) || nLength != sizeof(h) + h.length)
            return FALSE;
        result.action = actionAdd;
        for (DWORD i = 0; i < h.count; ++i) {
            WB_CHANGE_ITEM_HEAD item;
            if (!in.Record(item))
                break;
            const BYTE* blob = in.Current();
            if (!in.Skip(item.blobLength))
                break;
            CDrawObj* obj = CDrawObj::CreateByType(item.type, item.id);
            if (!obj)
                continue;
            obj->Unpack(blob, item.blobLength);
            // An object for a page the document does not have is not kept.
            if (!doc.AddObject(item.page, obj)) {
                delete obj;
                continue;
            }
            result.page = item.page;
            if (item.page == nCurrentPage)
                Unite(result, obj);
        }
        return TRUE;
    }
    case actionDelete: {
        WB_CHANGE_DELETE_HEAD h;
        if (!in.Record(h) || nLength != sizeof(h) + 4u * h.count)
            return FALSE;
        result.action = actionDelete;
        result.page = h.page;
        for (UINT i = 0; i < h.count; ++i) {
            uint32_t id = 0;
            in.U32(id);
            CDrawObj* obj = doc.RemoveObject(h.page, id);
            if (!obj)
                continue;
            if (onRemove)
                onRemove(obj);
            if (h.page == nCurrentPage)
                Unite(result, obj);
            delete obj;
        }
        return TRUE;
    }
    case actionMove: {
        WB_CHANGE_MOVE_HEAD h;
        if (!in.Record(h) || nLength != sizeof(h) + 4u * h.count)
            return FALSE;
        result.action = actionMove;
        result.page = h.page;
        for (UINT i = 0; i < h.count; ++i) {
            uint32_t id = 0;
            in.U32(id);
            CDrawObj* obj = doc.FindObject(h.page, id);
            if (!obj)
                continue;
            obj->Offset(CSize(h.dx, h.dy));
            if (h.page == nCurrentPage)
                Unite(result, obj);
        }
        return TRUE;
    }
    case actionResize: {
        WB_CHANGE_RESIZE r;
        if (nLength != sizeof(r) || !in.Record(r))
            return FALSE;
        result.action = actionResize;
        result.page = r.page;
        CDrawObj* obj = doc.FindObject(r.page, r.id);
        if (obj) {
            obj->MoveHandle(r.handle, CSize(r.dx, r.dy));
            if (r.page == nCurrentPage)
                Unite(result, obj);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}
