#pragma once
#include "CDlgVideoRender.h"
#include "CSkinBitmap.h"
#include "CSkinButton.h"
#include "afxwin.h"

// The own video pane of the left pane: the own camera picture under a
// skinned caption with three small buttons (camera panel, enlarge,
// start/stop).
class CDlgLocalVideo : public CDialog
{
public:
    CDlgLocalVideo();

    BOOL Create(CWnd* parent);

    int StartOwnVideo();
    int StopOwnVideo();
    // True while the user has stopped the own video with the start/stop button.
    BOOL IsStartStopChecked() const { return m_bStopped; }
    uint32_t GetUserId() const { return m_userId; }
    // Brings the render window back when it is shown elsewhere (enlarged).
    void CloseEnlarged();

    CDlgVideoRender& GetRender() { return m_render; }
    int GetCaptionHeight() const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnRenderBack(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRenderLeft(WPARAM wParam, LPARAM lParam);
    afx_msg void OnStartStop();
    afx_msg void OnCamera();
    afx_msg void OnEnlarge();
    DECLARE_MESSAGE_MAP()

    void Layout();

    CSkinButton m_btnStartStop;
    CSkinButton m_btnEnlarge;
    CSkinButton m_btnCamera;
    CSkinBitmap m_caption;
    CDlgVideoRender m_render;
    uint32_t m_userId = 0;
    BOOL m_bStopped = FALSE;
};
