#pragma once
#include "CPlayerBoardView.h"
#include "afxwin.h"

#include <cstdint>
#include <string>
#include <vector>

namespace caskel {

class CWBViewManView;
class IBoardBackgrounds;

// The player's read-only whiteboard: it rebuilds the recorded documents,
// their pages, the zoom and the page shown from the whiteboard record runs
// the player sends it (WM_PLAY_BOARDDATA), and starts empty again on
// WM_PLAY_BOARDCLEAR.
class CWBFrame : public CFrameWnd
{
public:
    struct Document
    {
        uint32_t viewId;
        std::string name;
        uint32_t width;
        uint32_t height;
        int pageCount;
        int currentPage;
        std::vector<int> objects; // drawing objects, per page
    };

    CWBFrame();
    virtual ~CWBFrame();
    BOOL CreateBoard(CWnd* parent, UINT id);
    // Where page backgrounds come from (the recording); none leaves pages
    // white.
    void SetBackgrounds(IBoardBackgrounds* backgrounds) { m_settings.backgrounds = backgrounds; }

    // Walks one run; returns the bytes used.
    size_t OnBoardData(const unsigned char* data, size_t length);
    void CloseAll();

    // What the board holds now.
    std::vector<Document> Documents() const;
    uint32_t ActiveView() const;
    int Zoom() const { return m_settings.zoomNum; }
    CWBViewManView* GetViewManager() const { return m_manager; }

protected:
    afx_msg LRESULT OnPlayBoardData(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPlayBoardClear(WPARAM, LPARAM);
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    size_t OnChange(const unsigned char* p, size_t n);
    size_t OnOpen(const unsigned char* p, size_t n);
    size_t OnViewRecord(const unsigned char* p, size_t n);
    size_t OnZoom(const unsigned char* p, size_t n);
    size_t OnPage(const unsigned char* p, size_t n);

    WBViewSettings m_settings;
    CWBViewManView* m_manager = nullptr;
    CRITICAL_SECTION m_lock;
};

} // namespace caskel
