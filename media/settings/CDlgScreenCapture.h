#pragma once
#include "CRectTracker.h"
#include "CSkinEdit.h"
#include "afxwin.h"

#include <string>

// Cuts a rectangle out of a frozen picture of the whole screen and saves it
// as a bitmap file. Construction takes the snapshot; DoModal runs the
// selection; a double click inside the selection saves it and ends.
class CDlgScreenCapture : public CDialog
{
public:
    // path: the file the picture is saved to.
    explicit CDlgScreenCapture(const std::string& path);
    ~CDlgScreenCapture() override;

    // True once this run saved the picture.
    bool Saved() const { return m_bSaved; }
    const std::string& Path() const { return m_path; }

    // The selection (all -1 when there is none) and the flags.
    CRect Selection() const { return m_tracker.m_rect; }
    bool HasSelection() const { return m_bSelected; }
    bool Dragging() const { return m_bDragging; }
    CString InfoText() const;

    // The rectangle of the information box for a cursor position, a box
    // size and the screen width.
    static CRect InfoBoxRect(CPoint cursor, CSize box, int screenWidth);
    // Copies a rectangle of the snapshot (clipped to the screen) into a new
    // bitmap; null for an empty rectangle.
    HBITMAP CopySelection(CRect rect) const;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnLButtonDown(CPoint point);
    void OnMouseMove(CPoint point);
    void OnLButtonUp();
    void OnLButtonDblClk(CPoint point);
    void OnRButtonUp();
    void OnPaint();
    BOOL OnSetCursor(UINT hitTest);
    void WriteInfo();
    void RepaintArea();
    void ClearSelection();
    void DrawInfoBox(CDC* dc, CPoint cursor);
    CString Hint() const;

    std::string m_path;
    int m_cx;
    int m_cy;
    HBITMAP m_snapshot = NULL;
    CRectTracker m_tracker;
    CPoint m_start;
    bool m_bDragging = false;
    bool m_bSelected = false;
    bool m_bButtonHeld = false;
    bool m_bSaved = false;
    HCURSOR m_cursor;
    CSkinEdit m_info;
};
