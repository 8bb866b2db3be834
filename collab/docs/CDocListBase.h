#pragma once
#include "CListCtrl.h"
#include "IDocumentList.h"
#include "SharedDocRecord.h"

#include <commctrl.h>

class IDocShareHost;

// What the shared-document lists have in common: a report-view list whose
// rows each own their record, rows found by the server's id, the row under
// the last context menu, and the download of a whiteboard document file.
// Handlers do nothing while the acting flag is clear.
class CDocListBase : public CListCtrl, public IDocumentList
{
public:
    ~CDocListBase() override;

    BOOL CreateList(CWnd* parent, UINT id, const RECT& rect);

    // IDocumentList: a row of the list's own look for each entry the server
    // names (rows found by id; the kind is not needed for that).
    void AddFile(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag, const char* name,
                 const char* secondName, const char* address) override;
    void AddDocument(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                     uint16_t value, uint16_t valueA, uint16_t valueB, const char* name,
                     const char* secondName, const char* path) override;
    void RemoveDocument(uint32_t id, uint8_t kind) override;
    void RenameDocument(uint32_t id, uint8_t kind, const char* name) override;
    void OnDeleteNotice(uint32_t, uint8_t, uint32_t, uint32_t) override {}
    std::string GetDocumentName(uint32_t id, uint8_t kind) override;
    void Clear() override;
    void Reload() override;

    int FindRow(uint32_t id) const;
    const SHARED_DOC_RECORD* Record(int row) const;
    // The row whose rectangle holds the point (client coordinates), or -1.
    int RowAt(CPoint point) const;
    // The context menu at a point (client coordinates): remembers the row
    // under it and gives the menu to show, or null where no row is.
    HMENU PrepareMenuAt(CPoint point);
    int MenuRow() const { return m_menuRow; }
    bool IsActing() const { return m_acting; }
    void SetActing(bool acting) { m_acting = acting; }

protected:
    explicit CDocListBase(IDocShareHost* host);

    // Adds the columns of the list.
    virtual void AddColumns() = 0;
    // Shows a new entry as a row; the list owns the record from here on.
    virtual void AddRow(SHARED_DOC_RECORD* record) = 0;
    // The items of this list's context menu.
    virtual void FillMenu(HMENU menu) = 0;
    // A command of the context menu, on the row under it.
    virtual void OnMenuCommand(UINT id, int row) = 0;
    virtual void OnDoubleClick(int row) {}

    // Appends a row with the list's second icon; the list owns the record.
    int AppendRow(SHARED_DOC_RECORD* record, const std::string& text);
    // "删除" on an openable row: the server is asked; the row goes when it answers.
    void AskDelete(int row);
    // A whiteboard document file of the meeting folder saved into a local file.
    void DownloadRow(int row);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    IDocShareHost* m_host;

private:
    void DeleteRow(int row);

    bool m_acting = true;
    int m_menuRow = -1;
    HIMAGELIST m_images = nullptr;
};
