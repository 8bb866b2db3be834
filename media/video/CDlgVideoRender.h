#pragma once
#include "afxwin.h"

#include <cstdint>

// A borderless child dialog that shows one participant's video: the own
// picture through the video library's preview, anybody else's through a
// receiver of the library. Start, Stop, Position and SendTo of one window
// run under its render lock.
class CDlgVideoRender : public CDialog
{
public:
    // Width classes of a shown remote video, by the window's width.
    static int WidthClass(int width);

    CDlgVideoRender();
    ~CDlgVideoRender() override;

    BOOL Create(CWnd* parent);

    // Shows user's video (0: none); the window object receives the library's
    // notices through its own handler as well. 1 when the video started.
    void SetUserId(uint32_t user) { m_userId = user; }
    uint32_t GetUserId() const { return m_userId; }
    void SetOwnerWindow(CWnd* owner) { m_pOwner = owner; }

    int Start();
    int Stop();
    void Position(int left, int top, int right, int bottom);
    void PositionToClient();
    void SetRecording(BOOL flag);
    int SendTo(int port);
    // Moves the render window under another parent: the old parent gets
    // 0x65A (0, 0), the new one 0x65B (this render window, windowObject);
    // returns the new parent's answer.
    LRESULT MoveToParent(int mode, CWnd* newParent, CWnd* windowObject);
    static LRESULT MoveToParent(CDlgVideoRender* render, int mode, CWnd* newParent,
                                CWnd* windowObject);

    // The library's notice: a value below 1 asks for the position again,
    // otherwise its high 16 bits are the rate value.
    void OnLibraryNotice(WPARAM word, LPARAM value);

    bool IsOwnUser() const;
    void* GetReceiver() const { return m_hReceiver; }
    int GetRate() const { return m_nRate; }
    int GetLastWidth() const { return m_nLastWidth; }
    int GetWidthClass() const { return m_nWidthClass; }
    int GetMode() const { return m_nMode; }
    void SetPositionFlag(BOOL flag) { m_bPosition = flag; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnVideoNotify(WPARAM word, LPARAM value);
    DECLARE_MESSAGE_MAP()

private:
    static void __cdecl RecordFrame(void* userData, const unsigned char* frame, int length);

    uint32_t m_userId = 0;
    CWnd* m_pOwner = nullptr;
    void* m_hReceiver = nullptr;
    int m_nRate = 0;
    CRITICAL_SECTION m_lock;
    int m_nLastWidth = 200;
    BOOL m_bPosition = TRUE;
    int m_nWidthClass = 0;
    int m_nMode = 0;
};
