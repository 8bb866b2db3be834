#include "CDocListBase.h"

#include "CDocName.h"
#include "IDocShareHost.h"

#include <memory>

namespace {
// The longest name GetDocumentName gives.
const size_t kNameLimit = 30;

std::string Text(const char* text) { return text ? text : ""; }

// What a file and a document entry both carry.
SHARED_DOC_RECORD* NewRecord(uint8_t docClass, uint8_t entryKind, uint32_t id, uint32_t folderId,
                             uint8_t flag, const char* name, const char* secondName)
{
    SHARED_DOC_RECORD* record = new SHARED_DOC_RECORD;
    record->docClass = docClass;
    record->entryKind = entryKind;
    record->id = id;
    record->folderId = folderId;
    record->flag = flag;
    record->name = Text(name);
    record->secondName = Text(secondName);
    return record;
}
} // namespace

CDocListBase::CDocListBase(IDocShareHost* host) : m_host(host) {}

CDocListBase::~CDocListBase()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_images)
        ImageList_Destroy(m_images);
}

BOOL CDocListBase::CreateList(CWnd* parent, UINT id, const RECT& rect)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                        LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    if (!Create(style, rect, parent, id))
        return FALSE;
    SetBkColor(RGB(255, 255, 255));
    SetTextBkColor(RGB(255, 255, 255));
    // Three small icons; every row shows the second.
    m_images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    if (m_images) {
        const LPCSTR icons[3] = {IDI_APPLICATION, IDI_INFORMATION, IDI_WINLOGO};
        for (LPCSTR icon : icons)
            ImageList_AddIcon(m_images, LoadIcon(NULL, icon));
        SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)m_images);
    }
    AddColumns();
    return TRUE;
}

void CDocListBase::AddFile(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                           const char* name, const char* secondName, const char* address)
{
    SHARED_DOC_RECORD* record =
        NewRecord(SHARED_DOC_RECORD::CLASS_FILE, entryKind, id, folderId, flag, name, secondName);
    record->address = Text(address);
    AddRow(record);
}

void CDocListBase::AddDocument(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                               uint16_t value, uint16_t valueA, uint16_t valueB, const char* name,
                               const char* secondName, const char* path)
{
    SHARED_DOC_RECORD* record = NewRecord(SHARED_DOC_RECORD::CLASS_DOCUMENT, entryKind, id,
                                          folderId, flag, name, secondName);
    record->value = value;
    record->valueA = valueA;
    record->valueB = valueB;
    record->path = Text(path);
    AddRow(record);
}

int CDocListBase::AppendRow(SHARED_DOC_RECORD* record, const std::string& text)
{
    std::unique_ptr<SHARED_DOC_RECORD> owned(record);
    if (!m_hWnd)
        return -1;
    const int row = InsertItem(GetItemCount(), text.c_str(), 1);
    if (row < 0)
        return -1;
    SetItemData(row, (DWORD_PTR)owned.release());
    return row;
}

const SHARED_DOC_RECORD* CDocListBase::Record(int row) const
{
    if (!m_hWnd || row < 0 || row >= GetItemCount())
        return nullptr;
    return reinterpret_cast<const SHARED_DOC_RECORD*>(GetItemData(row));
}

int CDocListBase::FindRow(uint32_t id) const
{
    if (!m_hWnd)
        return -1;
    for (int row = 0; row < GetItemCount(); ++row) {
        const SHARED_DOC_RECORD* record = Record(row);
        if (record && record->id == id)
            return row;
    }
    return -1;
}

void CDocListBase::DeleteRow(int row)
{
    delete Record(row);
    SetItemData(row, 0);
    CListCtrl::DeleteItem(row);
    if (m_menuRow == row)
        m_menuRow = -1;
    else if (m_menuRow > row)
        --m_menuRow;
}

void CDocListBase::RemoveDocument(uint32_t id, uint8_t)
{
    const int row = FindRow(id);
    if (row >= 0)
        DeleteRow(row);
}

void CDocListBase::RenameDocument(uint32_t id, uint8_t, const char* name)
{
    const int row = FindRow(id);
    if (row >= 0)
        SetItemText(row, 0, name ? name : "");
}

std::string CDocListBase::GetDocumentName(uint32_t id, uint8_t)
{
    const int row = FindRow(id);
    if (row < 0)
        return std::string();
    std::string text = (LPCSTR)GetItemText(row, 0);
    if (text.size() > kNameLimit)
        text.resize(kNameLimit);
    return text;
}

void CDocListBase::Clear()
{
    if (!m_hWnd)
        return;
    for (int row = GetItemCount() - 1; row >= 0; --row)
        DeleteRow(row);
    m_menuRow = -1;
}

void CDocListBase::Reload()
{
    Clear();
    m_host->RequestDocumentList();
}

int CDocListBase::RowAt(CPoint point) const
{
    if (!m_hWnd)
        return -1;
    for (int row = 0; row < GetItemCount(); ++row) {
        CRect rect;
        if (GetItemRect(row, &rect, LVIR_BOUNDS) && rect.PtInRect(point))
            return row;
    }
    return -1;
}

HMENU CDocListBase::PrepareMenuAt(CPoint point)
{
    m_menuRow = RowAt(point);
    if (m_menuRow < 0)
        return NULL;
    HMENU menu = CreatePopupMenu();
    if (menu)
        FillMenu(menu);
    return menu;
}

void CDocListBase::AskDelete(int row)
{
    const SHARED_DOC_RECORD* record = Record(row);
    if (record && record->IsOpenable())
        m_host->SendDocumentDelete(record->id, record->docClass);
}

void CDocListBase::DownloadRow(int row)
{
    const SHARED_DOC_RECORD* record = Record(row);
    if (!record || !record->IsOpenable() ||
        record->folderId != SHARED_DOC_RECORD::MEETING_DOC_FOLDER)
        return;
    // Copies: the row may go while the save dialog is open.
    const std::string stored = record->path;
    std::string title, extension, target;
    CDocName::SplitForSave(record->name, &title, &extension);
    if (!m_host->ChooseSavePath(title.c_str(), extension.c_str(), &target) || target.empty())
        return;
    m_host->StartDocumentDownload(stored.c_str(), target.c_str());
}

BOOL CDocListBase::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0 && HIWORD(wParam) == 0) {
        if (m_acting)
            OnMenuCommand(LOWORD(wParam), m_menuRow);
        return TRUE;
    }
    return CListCtrl::OnCommand(wParam, lParam);
}

LRESULT CDocListBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_LBUTTONDBLCLK: {
            const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
            if (m_acting && m_hWnd)
                OnDoubleClick((int)SendMessage(LVM_GETSELECTIONMARK));
            return result;
        }
        case WM_CONTEXTMENU: {
            if (!m_acting)
                return 0;
            CPoint screen((int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam));
            CPoint client = screen;
            ScreenToClient(&client);
            HMENU menu = PrepareMenuAt(client);
            if (menu) {
                ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                                 m_hWnd, NULL);
                ::DestroyMenu(menu);
            }
            return 0;
        }
        case WM_DESTROY:
            Clear();
            break;
        default:
            break;
        }
        return CListCtrl::WindowProc(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}
