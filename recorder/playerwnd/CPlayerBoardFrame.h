#pragma once
#include "afxwin.h"

#include <cstdint>
#include <string>
#include <vector>

namespace caskel {

// The player's read-only whiteboard: it rebuilds the recorded documents,
// their pages, the zoom and the page shown from the whiteboard record runs
// the player sends it (WM_PLAY_BOARDDATA), and starts empty again on
// WM_PLAY_BOARDCLEAR.
class CWBFrame : public CFrameWnd
{
public:
    struct Document {
        uint32_t viewId;
        std::string name;
        uint32_t width;
        uint32_t height;
        int pageCount;
        int currentPage;
        std::vector<uint32_t> changes;   // object changes applied, per page
    };

    CWBFrame();
    BOOL CreateBoard(CWnd* parent, UINT id);

    // Walks one run; returns the bytes used.
    size_t OnBoardData(const unsigned char* data, size_t length);
    void CloseAll();

    // What the board holds now.
    std::vector<Document> Documents() const { return m_documents; }
    uint32_t ActiveView() const { return m_active; }
    int Zoom() const { return m_zoom; }

protected:
    afx_msg LRESULT OnPlayBoardData(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPlayBoardClear(WPARAM, LPARAM);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    size_t OnChange(const unsigned char* p, size_t n);
    size_t OnOpen(const unsigned char* p, size_t n);
    size_t OnViewRecord(const unsigned char* p, size_t n);
    size_t OnZoom(const unsigned char* p, size_t n);
    size_t OnPage(const unsigned char* p, size_t n);
    Document* Find(uint32_t viewId);
    void ApplyChange(Document& doc, const unsigned char* p, size_t n);

    std::vector<Document> m_documents;
    uint32_t m_active = 0;
    bool m_hasActive = false;
    int m_zoom = 100;
};

}  // namespace caskel
