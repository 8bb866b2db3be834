#pragma once
#include "CWBDocument.h"
#include "afxext.h"
#include "afxwin.h"

#include <cstdint>
#include <string>

namespace caskel {

class CWBFrame;
class IBoardBackgrounds;

// What every page view of the player's whiteboard shares: the zoom, the
// frame, the text font and the recording's background pictures.
struct WBViewSettings
{
    WBViewSettings();
    int zoomNum;
    int zoomDen;
    CWBFrame* frame;
    LOGFONTA font;
    IBoardBackgrounds* backgrounds;
};

// One recorded document on the player's whiteboard: its pages with their
// drawing objects, rebuilt from the change records, and the page shown.
// Read-only: no tools, no selection, nothing is sent.
class CWBView : public CScrollView
{
    DECLARE_DYNCREATE(CWBView)
public:
    CWBView();
    virtual ~CWBView();

    // A hidden child of the view manager for a document of pageCount pages
    // of width x height document units.
    BOOL Open(CWnd* parent, WBViewSettings* settings, uint32_t viewId, const std::string& name,
              SIZE pageSize, int pageCount);

    // Carries out one change record (add, remove, move, resize); false for
    // a record of a wrong length or an unknown action.
    BOOL ApplyChange(const BYTE* record, UINT length);
    // 1 when the page shown changed (and the view repaints).
    int SetPage(int index);
    void Rescale();
    // Document units to client coordinates: zoomed, less the scroll position.
    CRect DocToClient(const RECT& rc) const;

    uint32_t GetViewId() const { return m_viewId; }
    const std::string& GetName() const { return m_name; }
    int GetCurrentPage() const { return m_currentPage; }
    int GetPageCount() const { return m_document.GetPageCount(); }
    SIZE GetPageSize() const { return m_pageSize; }
    CWBDocument& GetDocument() { return m_document; }

protected:
    virtual void OnDraw(CDC* pDC);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void DrawPage(CDC* pDC, int cx, int cy);
    void DropPageBitmap();

    WBViewSettings* m_settings;
    CWBDocument m_document;
    std::string m_name;
    uint32_t m_viewId;
    int m_currentPage;
    SIZE m_pageSize;
    CBitmap m_pageBitmap;
    bool m_pageBitmapTried;
};

} // namespace caskel
