#include "CDocShareList.h"

#include "CDocName.h"
#include "DocsResource.h"
#include "IDocShareHost.h"

CDocShareList::CDocShareList(IDocShareHost* host) : CDocListBase(host) {}

void CDocShareList::AddColumns()
{
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    InsertColumn(0, "文件名称", LVCFMT_LEFT, 150);
    InsertColumn(1, "文件类型", LVCFMT_LEFT, 150);
    InsertColumn(2, "文件大小", LVCFMT_LEFT, 100);
    InsertColumn(3, "状态", LVCFMT_LEFT, 70);
}

void CDocShareList::AddRow(SHARED_DOC_RECORD* record)
{
    std::string text, type;
    CDocName::SplitForRow(record->name, &text, &type);
    const int row = AppendRow(record, text);
    if (row >= 0)
        SetItemText(row, 1, type.c_str());
}

void CDocShareList::FillMenu(HMENU menu)
{
    AppendMenuA(menu, MF_STRING, ID_DOC_OPEN, "打开");
    AppendMenuA(menu, MF_STRING, ID_DOC_DELETE, "删除");
}

void CDocShareList::OnMenuCommand(UINT id, int row)
{
    if (id == ID_DOC_OPEN)
        OpenRow(row);
    else if (id == ID_DOC_DELETE)
        AskDelete(row);
}

void CDocShareList::OpenRow(int row)
{
    const SHARED_DOC_RECORD* found = Record(row);
    if (!found || !found->IsOpenable())
        return;
    if (found->folderId == SHARED_DOC_RECORD::MEETING_DOC_FOLDER) {
        DownloadRow(row);
        return;
    }
    // A copy: what the host does may change the list.
    const SHARED_DOC_RECORD record = *found;
    if (record.docClass == SHARED_DOC_RECORD::CLASS_FILE) {
        if (m_host->HasControlRight())
            m_host->ShowDataPage(1);
        m_host->OpenOnBoard(record.address.c_str());
    } else {
        if (m_host->HasControlRight())
            m_host->ShowDataPage(0);
        m_host->OpenInWhiteboard(record);
    }
}
