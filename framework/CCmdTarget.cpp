#include "CCmdTarget.h"
#include "CCmdUI.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP map = {NULL, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* PASCAL CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY* e, UINT nMsg,
                                                            UINT nCode, UINT nID)
{
    for (; e->nSig != AfxSig_end; ++e) {
        if (e->nMessage == nMsg && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
            return e;
    }
    return NULL;
}

BOOL PASCAL CCmdTarget::DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn,
                                       void* pExtra, UINT_PTR nSig,
                                       AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }
    AFX_NOTIFY* notify = (AFX_NOTIFY*)pExtra;
    switch (nSig) {
    case AfxSig_vv:
        (pTarget->*pfn)();
        return TRUE;
    case AfxSig_bv:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)()>(pfn))();
    case AfxSig_vw:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
        return TRUE;
    case AfxSig_bw:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
    case AfxSig_cmdui: {
        CCmdUI* pCmdUI = (CCmdUI*)pExtra;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
        // A handler that left the item alone has not handled it.
        return !pCmdUI->m_bContinueRouting;
    }
    case AfxSig_vNMHDRpl:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(notify->pNMHDR,
                                                                                  notify->pResult);
        return TRUE;
    case AfxSig_bNMHDRpl:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(
            notify->pNMHDR, notify->pResult);
    case AfxSig_vwNMHDRpl:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, notify->pNMHDR, notify->pResult);
        return TRUE;
    case AfxSig_bwNMHDRpl:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, notify->pNMHDR, notify->pResult);
    default:
        return FALSE;
    }
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMsg = 0;
    UINT code = (UINT)nCode;
    if (code != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(code);
        code = LOWORD(code);
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(map->lpEntries, nMsg, code, nID);
        if (e)
            return DispatchCmdMsg(this, nID, nCode, e->pfn, pExtra, e->nSig, pHandlerInfo);
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor() { SetCursor(LoadCursor(NULL, IDC_WAIT)); }
void CCmdTarget::EndWaitCursor() { SetCursor(LoadCursor(NULL, IDC_ARROW)); }
void CCmdTarget::RestoreWaitCursor() { SetCursor(LoadCursor(NULL, IDC_WAIT)); }
