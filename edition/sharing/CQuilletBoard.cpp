#include "CQuilletBoard.h"

#include <winsock2.h>
#include <windows.h>

#include "BoardRecords.h"

CQuilletBoard::CQuilletBoard(IBoardViews& views, Sender send, std::function<bool()> presenting)
    : m_views(views), m_send(std::move(send)), m_presenting(std::move(presenting))
{}

uint32_t CQuilletBoard::NewPageId()
{
    return ((GetTickCount() * 256u + GetCurrentThreadId()) * 256u) + m_counter++;
}

void CQuilletBoard::OpenPage(int key, const char* address, const char* title, const char* third,
                             uint8_t flag)
{
    if (!title || !third || !address)
        return;
    const bool presenting = m_presenting && m_presenting();
    uint32_t pageId = 0;
    if (m_views.FindKey(key, &pageId)) {
        if (presenting) {
            m_views.Activate(pageId);
            m_send(CBoardRecords::PageRecord(BOARD_ACTIVATE_PAGE, pageId));
        }
        return;
    }
    if (!*address)
        return;
    if (m_views.PageCount() > 0) {
        m_views.RemoveAll();
        // Only the presenter clears everyone's board.
        if (presenting)
            m_send(CBoardRecords::CloseAll());
    }
    pageId = NewPageId();
    if (!m_views.CreateView(pageId, key, flag, third))
        return;
    m_views.AddTab(pageId, title);
    m_views.Activate(pageId);
    if (presenting) {
        std::vector<uint8_t> record = CBoardRecords::OpenPage(pageId, flag, title, address, third);
        if (!record.empty())
            m_send(record);
    }
    m_send(CBoardRecords::PageRecord(BOARD_ACTIVATE_PAGE, pageId));
    m_views.Navigate(pageId, address);
}
