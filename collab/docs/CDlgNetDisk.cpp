#include "CDlgNetDisk.h"

#include "CDC.h"
#include "CDocTransfer.h"
#include "DocsResource.h"
#include "IDocShareHost.h"

BEGIN_MESSAGE_MAP(CDlgNetDisk, CLangDialog)
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
    ON_BN_CLICKED(IDC_NETDISK_UPLOAD_PPT, OnUploadPresentation)
    ON_BN_CLICKED(IDC_NETDISK_UPLOAD_WB, OnUploadWhiteboardDocument)
    ON_BN_CLICKED(IDC_NETDISK_UPLOAD, OnUploadDocumentFile)
END_MESSAGE_MAP()

namespace {
const UINT kUploadButtons[] = {IDC_NETDISK_UPLOAD_PPT, IDC_NETDISK_UPLOAD_WB, IDC_NETDISK_UPLOAD};
} // namespace

CDlgNetDisk::CDlgNetDisk(IDocShareHost* host, CDocTransfer* transfer)
    : CLangDialog(IDD_NET_DISK, "CDlgNetDisk", NULL), m_host(host), m_transfer(transfer),
      m_files(host), m_documents(host), m_meetingDocs(host)
{}

BOOL CDlgNetDisk::CreatePage(CWnd* parent) { return Create(IDD_NET_DISK, parent); }

BOOL CDlgNetDisk::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_background.CreateSolidBrush(BACKGROUND);
    const CRect empty(0, 0, 10, 10);
    m_files.CreateList(this, IDC_NETDISK_FILES, empty);
    m_documents.CreateList(this, IDC_NETDISK_DOCS, empty);
    m_meetingDocs.CreateList(this, IDC_NETDISK_MEETING_DOCS, empty);
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
    EnableControls(false);
    return TRUE;
}

void CDlgNetDisk::EnableControls(bool enable)
{
    for (UINT id : kUploadButtons)
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(enable);
    for (CListCtrl* list :
         {(CListCtrl*)&m_files, (CListCtrl*)&m_documents, (CListCtrl*)&m_meetingDocs})
        if (list->m_hWnd)
            list->EnableWindow(enable);
}

void CDlgNetDisk::StopDocumentUpload()
{
    if (m_transfer)
        m_transfer->Stop();
}

void CDlgNetDisk::Layout(int w, int h)
{
    auto place = [this](UINT id, int x, int y, int cx, int cy) {
        if (CWnd* wnd = GetDlgItem(id))
            wnd->MoveWindow(x, y, cx < 0 ? 0 : cx, cy < 0 ? 0 : cy);
    };
    place(IDC_NETDISK_UPLOAD_PPT, 3, 3, 100, 19);
    place(IDC_NETDISK_DOWNLOAD_PPT, 106, 3, 100, 19);
    place(IDC_NETDISK_FILES, 0, 22, w - 160, 300);
    place(IDC_NETDISK_UPLOAD_WB, 0, 324, 100, 22);
    place(IDC_NETDISK_HINT, 106, 328, w - 160 - 106, 18);
    place(IDC_NETDISK_DOCS, 0, 346, w - 160, h - 346);
    place(IDC_NETDISK_LABEL, w - 150, 3, 103, 19);
    place(IDC_NETDISK_MEETING_DOCS, w - 150, 22, 150, h - 22);
    place(IDC_NETDISK_UPLOAD, w - 47, 1, 47, 20);
}

void CDlgNetDisk::OnSize(UINT type, int cx, int cy)
{
    CLangDialog::OnSize(type, cx, cy);
    if (m_files.m_hWnd)
        Layout(cx, cy);
}

HBRUSH CDlgNetDisk::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    if (ctlColor == CTLCOLOR_DLG || ctlColor == CTLCOLOR_STATIC || ctlColor == CTLCOLOR_EDIT) {
        dc->SetBkColor(BACKGROUND);
        return (HBRUSH)m_background.GetSafeHandle();
    }
    return CLangDialog::OnCtlColor(dc, wnd, ctlColor);
}

BOOL CDlgNetDisk::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, BACKGROUND);
    return TRUE;
}

bool CDlgNetDisk::UploadAllowed()
{
    if (m_host->RoomForbidsUpload()) {
        m_host->ShowPlainMessage("会议室禁止上传文件!");
        return false;
    }
    // The printing of office documents into pages works in this folder.
    CreateDirectoryA("C:\\PrintDir", NULL);
    return true;
}

void CDlgNetDisk::OnUploadPresentation()
{
    if (UploadAllowed() && m_transfer)
        m_transfer->StartPresentationUpload(0xFFFFFFFFu);
}

void CDlgNetDisk::OnUploadWhiteboardDocument()
{
    if (UploadAllowed())
        m_host->UploadWhiteboardDocument(0xFFFFFFFFu);
}

void CDlgNetDisk::OnUploadDocumentFile() { m_host->UploadWhiteboardFile(); }
