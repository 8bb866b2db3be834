#pragma once
#include "AfxMsgMap.h"
#include "CObject.h"

// The base of everything that receives commands: looks a command up in the
// class's message map chain and calls its handler.
class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() {}

    // nCode packs the message in the high word (0 = WM_COMMAND, WM_NOTIFY for
    // notifications) and the code in the low word; CN_UPDATE_COMMAND_UI as is.
    // With pHandlerInfo set, only reports whether a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();
    void EnableAutomation() {}

    static const AFX_MSGMAP* PASCAL GetThisMessageMap();

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;

public:
    // Calls one command or notification handler by its signature.
    static BOOL PASCAL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn,
                                      void* pExtra, UINT_PTR nSig,
                                      AFX_CMDHANDLERINFO* pHandlerInfo);
    // The first entry of the chain for the message, code and id, or null.
    static const AFX_MSGMAP_ENTRY* PASCAL FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry,
                                                           UINT nMsg, UINT nCode, UINT nID);
};
