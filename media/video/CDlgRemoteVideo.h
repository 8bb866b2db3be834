#pragma once
#include "CDlgVideoRender.h"
#include "CSkinBitmap.h"
#include "CSkinButton.h"
#include "afxwin.h"

class CDlgRight;

// One window of the video wall: a participant's video under a skinned
// caption with his name and two small buttons (enlarge, speak request).
// A window without user (user id 0) is free.
class CDlgRemoteVideo : public CDialog
{
public:
    CDlgRemoteVideo();

    BOOL Create(CWnd* parent);

    int ShowUser(CDlgRight* wall, uint32_t user);
    void Clear();
    void SetRect(int left, int top, int right, int bottom);
    CRect GetRect() const { return m_rect; }
    uint32_t GetUserId() const { return m_render.GetUserId(); }
    const CString& GetUserName() const { return m_strUserName; }
    void Show(BOOL flag);
    void SetRecording(BOOL flag) { m_render.SetRecording(flag); }
    int GetRate() const { return m_nRate; }

    // Enlarges the video into the main window's big video window; false
    // when another window is enlarged already (the user is told).
    bool Enlarge();
    // Brings the render window back from the big video window.
    void TakeBack();
    bool IsRenderAway() const;

    CDlgVideoRender& GetRender() { return m_render; }
    int GetCaptionHeight() const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL PreTranslateMessage(MSG* msg) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnVideoNotify(WPARAM word, LPARAM value);
    afx_msg LRESULT OnRenderBack(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRenderLeft(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEnlarge();
    afx_msg void OnSpeak();
    DECLARE_MESSAGE_MAP()

    void Layout();

    CDlgVideoRender m_render;
    CSkinBitmap m_caption;
    CStatic m_text;
    CSkinButton m_btnSpeak;
    CSkinButton m_btnEnlarge;
    CString m_strUserName;
    CRect m_rect;
    int m_nRate = 0;
};
