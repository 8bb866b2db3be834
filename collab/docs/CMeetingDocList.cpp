#include "CMeetingDocList.h"

#include "DocsResource.h"
#include "IDocShareHost.h"

CMeetingDocList::CMeetingDocList(IDocShareHost* host) : CDocListBase(host) {}

void CMeetingDocList::AddColumns() { InsertColumn(0, "文件名称", LVCFMT_LEFT, 150); }

void CMeetingDocList::AddRow(SHARED_DOC_RECORD* record) { AppendRow(record, record->name); }

void CMeetingDocList::FillMenu(HMENU menu)
{
    AppendMenuA(menu, MF_STRING, ID_DOC_DOWNLOAD, "下载");
    AppendMenuA(menu, MF_STRING, ID_DOC_DELETE, "删除");
}

void CMeetingDocList::OnMenuCommand(UINT id, int row)
{
    switch (id) {
    case ID_DOC_DOWNLOAD:
        DownloadRow(row);
        break;
    case ID_DOC_DELETE:
        AskDelete(row);
        break;
    case ID_DOC_UPLOAD:
        m_host->UploadWhiteboardFile();
        break;
    default:
        break;
    }
}
