#pragma once
#include <cstdint>

#include "CPassProgressDlg.h"

class CWBTransferList;
class IWBTransferHost;

// What the two whiteboard transfer dialogs share: the document and the
// list they belong to, the end reported to the list (ok only when
// finished), and a failure told to the user with the text of its direction.
class CWBTransferDlg : public CPassProgressDlg
{
public:
    uint32_t GetDocumentId() const { return m_documentId; }
    DWORD GetHandle() const { return m_handle; }

protected:
    CWBTransferDlg(UINT templateId, LPCTSTR section, CWBTransferList* list, IWBTransferHost* host,
                   uint32_t documentId);

    // The transfer started with this handle: the status text is set and the
    // poll timer runs.
    void Started(DWORD handle, UINT statusId, UINT intervalMs);
    // The shown text of a string id.
    static CString Text(UINT id);

    virtual void ReportDone(BOOL ok) = 0;
    virtual UINT FailureTextId() const = 0;

    HWND MainWindow() override;
    void Ended(OUTCOME outcome) override;

    CWBTransferList* m_list;
    IWBTransferHost* m_host;
    uint32_t m_documentId;
    DWORD m_handle = 0;
};
