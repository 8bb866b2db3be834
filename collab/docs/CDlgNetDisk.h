#pragma once
#include "CBrush.h"
#include "CLangDialog.h"
#include "CDocShareList.h"
#include "CMeetingDocList.h"
#include "INetDiskPage.h"

class CDocTransfer;
class IDocShareHost;

// The "网络硬盘" page of the main window: presentation files (upper list),
// whiteboard-format documents (lower list), whiteboard document files
// (right), and the upload buttons. Controls and lists are enabled together
// by the user's rights.
class CDlgNetDisk : public CLangDialog, public INetDiskPage
{
public:
    static constexpr COLORREF BACKGROUND = 0xFAF5EF;

    CDlgNetDisk(IDocShareHost* host, CDocTransfer* transfer);

    BOOL CreatePage(CWnd* parent);

    // INetDiskPage.
    void EnableControls(bool enable) override;
    void StopDocumentUpload() override;

    CDocShareList& Files() { return m_files; }
    CDocShareList& Documents() { return m_documents; }
    CMeetingDocList& MeetingDocuments() { return m_meetingDocs; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnUploadPresentation();
    afx_msg void OnUploadWhiteboardDocument();
    afx_msg void OnUploadDocumentFile();
    DECLARE_MESSAGE_MAP()

private:
    void Layout(int w, int h);
    // The room's check before an upload into the network disk.
    bool UploadAllowed();

    IDocShareHost* m_host;
    CDocTransfer* m_transfer;
    CDocShareList m_files;
    CDocShareList m_documents;
    CMeetingDocList m_meetingDocs;
    CBrush m_background;
};
