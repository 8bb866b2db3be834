#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The presentation board's pages as this edition opens them: the views and
// tabs of the board, behind a narrow interface.
class IBoardViews
{
public:
    virtual ~IBoardViews() = default;
    // The page of a key, when a view holds one.
    virtual bool FindKey(int key, uint32_t* pageId) = 0;
    virtual int PageCount() = 0;
    // Every tab and every view removed.
    virtual void RemoveAll() = 0;
    // A browser view for the page, keeping the key, the flag byte and the
    // third text; false when none can be made.
    virtual bool CreateView(uint32_t pageId, int key, uint8_t flag, const std::string& third) = 0;
    // A new tab with the title, selected.
    virtual void AddTab(uint32_t pageId, const std::string& title) = 0;
    // The page's view shown over the board (the one before hidden), its tab selected.
    virtual void Activate(uint32_t pageId) = 0;
    virtual void Navigate(uint32_t pageId, const std::string& address) = 0;
};

// Opens the presentation board's pages: one page at a time, announced to
// the others while this user presents.
class CQuilletBoard
{
public:
    typedef std::function<void(const std::vector<uint8_t>&)> Sender;

    // presenting: whether this user controls the board now.
    CQuilletBoard(IBoardViews& views, Sender send, std::function<bool()> presenting);

    // Opens a page for a key (a value naming the page's source); a key that
    // has its view already is only activated.
    void OpenPage(int key, const char* address, const char* title, const char* third, uint8_t flag);
    // ((tick count x 256 + thread id) x 256) + the board's counter.
    uint32_t NewPageId();

private:
    IBoardViews& m_views;
    Sender m_send;
    std::function<bool()> m_presenting;
    uint32_t m_counter = 0;
};
