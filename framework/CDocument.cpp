#include "CDocument.h"
#include "CArchive.h"
#include "CFile.h"
#include "CFrameWnd.h"
#include "CView.h"

IMPLEMENT_DYNCREATE(CDocument, CCmdTarget)

CDocument::CDocument() : m_bAutoDelete(TRUE), m_bModified(FALSE) {}

CDocument::~CDocument()
{
    // views outlive nothing: detach those still attached
    for (POSITION p = m_viewList.GetHeadPosition(); p;)
        ((CView*)m_viewList.GetNext(p))->m_pDocument = NULL;
}

void CDocument::SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL)
{
    m_strPathName = lpszPathName;
    CString name(lpszPathName);
    int slash = name.ReverseFind('\\');
    SetTitle(name.Mid(slash + 1));
}

void CDocument::AddView(CView* pView)
{
    if (m_viewList.Find(pView))
        return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION p = m_viewList.Find(pView);
    if (!p)
        return;
    m_viewList.RemoveAt(p);
    pView->m_pDocument = NULL;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete)
        OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (POSITION p = m_viewList.GetHeadPosition(); p;) {
        CView* v = (CView*)m_viewList.GetNext(p);
        if (v != pSender)
            v->OnUpdate(pSender, lHint, pHint);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    DeleteContents();
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        DeleteContents();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive))
        return FALSE;
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE; // closing the views must not re-enter
    while (!m_viewList.IsEmpty()) {
        CView* v = (CView*)m_viewList.GetHead();
        CFrameWnd* frame = v->GetParentFrame();
        RemoveView(v);
        if (frame && frame->m_hWnd)
            ((CWnd*)frame)->DestroyWindow();
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
