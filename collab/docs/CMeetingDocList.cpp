#include "CMeetingDocList.h"

#include "DocsResource.h"
#include "IDocShareHost.h"

namespace {
std::string Text(const char* text) { return text ? text : ""; }
} // namespace

CMeetingDocList::CMeetingDocList(IDocShareHost* host) : CDocListBase(host) {}

void CMeetingDocList::AddColumns() { InsertColumn(0, "文件名称", LVCFMT_LEFT, 150); }

void CMeetingDocList::AddFile(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                              const char* name, const char* secondName, const char* address)
{
    SHARED_DOC_RECORD* record = new SHARED_DOC_RECORD;
    record->docClass = SHARED_DOC_RECORD::CLASS_FILE;
    record->entryKind = entryKind;
    record->id = id;
    record->folderId = folderId;
    record->flag = flag;
    record->name = Text(name);
    record->secondName = Text(secondName);
    record->address = Text(address);
    AppendRow(record, record->name);
}

void CMeetingDocList::AddDocument(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                                  uint16_t value, uint16_t valueA, uint16_t valueB,
                                  const char* name, const char* secondName, const char* path)
{
    SHARED_DOC_RECORD* record = new SHARED_DOC_RECORD;
    record->docClass = SHARED_DOC_RECORD::CLASS_DOCUMENT;
    record->entryKind = entryKind;
    record->id = id;
    record->folderId = folderId;
    record->flag = flag;
    record->value = value;
    record->valueA = valueA;
    record->valueB = valueB;
    record->name = Text(name);
    record->secondName = Text(secondName);
    record->path = Text(path);
    AppendRow(record, record->name);
}

void CMeetingDocList::FillMenu(HMENU menu)
{
    AppendMenuA(menu, MF_STRING, ID_DOC_DOWNLOAD, "下载");
    AppendMenuA(menu, MF_STRING, ID_DOC_DELETE, "删除");
}

void CMeetingDocList::OnMenuCommand(UINT id, int row)
{
    switch (id) {
    case ID_DOC_DOWNLOAD: DownloadRow(row); break;
    case ID_DOC_DELETE: AskDelete(row); break;
    case ID_DOC_UPLOAD: m_host->UploadWhiteboardFile(); break;
    default: break;
    }
}
