#pragma once
#include "BoardRecords.h"
#include "CDlgHistoryFile.h"
#include "CQuilletBoard.h"
#include "CQuilletBoardView.h"
#include "CWebShareFrame.h"

#include <functional>
#include <string>
#include <vector>

// This edition's presentation board: the history bar over a hidden tab
// strip, one page at a time opened by key and announced in this edition's
// records (an open-page record carries title, address and third text), and
// the pages' modes. The board's records of the others arrive through
// OnPeerData.
class CQuilletBoardPool;

class CQuilletShareFrame : public CWebShareFrame, private IBoardViews, private IBoardRecordTarget
{
public:
    CQuilletShareFrame();

    // Where a running recording takes a page's address; the server address
    // a page in mode 1 looks for in its third text.
    void SetRecordAddress(std::function<void(const std::string&)> record)
    {
        m_hooks.recordAddress = std::move(record);
    }
    void SetServerAddress(const std::string& server) { m_server = server; }

    // A document of the shared-documents tree or lists: key names its source.
    void OpenPage(int key, const char* address, const char* title, const char* third, uint8_t flag);

    // A shared document opened by its address alone: its own page (the
    // address is the key), titled by its file name, opened as it is.
    void OpenDocument(const char* address) override;

    size_t OnPeerData(const unsigned char* data, size_t length) override;
    void OnViewNavigate(CWebViewBase* view, const NAV_FIELDS& nav) override;
    void OnViewCompleted(CWebViewBase* view, const std::string& address) override;

    CDlgHistoryFile& HistoryBar() { return m_history; }
    CQuilletBoardView* Page(uint32_t pageId);

protected:
    CWebPoolView* MakePool() override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    CQuilletBoardPool* Pages() const;
    void LayoutBoard();
    void SendBoard(const std::vector<uint8_t>& record);
    void SendNavigation(CWebViewBase* view, const NAV_FIELDS& nav);

    // IBoardViews
    bool FindKey(int key, uint32_t* pageId) override;
    int PageCount() override;
    void RemoveAll() override;
    bool CreateView(uint32_t pageId, int key, uint8_t flag, const std::string& third) override;
    void AddTab(uint32_t pageId, const std::string& title) override;
    void Activate(uint32_t pageId) override;
    void Navigate(uint32_t pageId, const std::string& address) override;

    // IBoardRecordTarget
    void OnNavigate(uint32_t pageId, const uint8_t* payload, size_t length) override;
    void OnOpenPage(uint32_t pageId, uint8_t flag, const std::string& title,
                    const std::string& address, const std::string& third) override;
    void OnClosePage(uint32_t pageId) override;
    void OnActivatePage(uint32_t pageId) override;
    void OnCloseAll() override;

    CQuilletBoardView::Hooks m_hooks;
    CQuilletBoard m_board;
    CDlgHistoryFile m_history;
    std::string m_server;
    std::vector<uint32_t> m_pageIds;      // in the order they were made
    CQuilletBoardPool* m_pages = nullptr; // the pool, with its own type
};
