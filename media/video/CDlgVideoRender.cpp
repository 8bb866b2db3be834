#include "CDlgVideoRender.h"

#include "CCommandManager.h"
#include "CScopedLock.h"
#include "CVideoHost.h"
#include "MediaVideoResource.h"
#include "VideoCalls.h"

BEGIN_MESSAGE_MAP(CDlgVideoRender, CDialog)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_VIDEO_NOTIFY, OnVideoNotify)
END_MESSAGE_MAP()

int CDlgVideoRender::WidthClass(int width)
{
    if (width < 200)
        return 0;
    if (width < 240)
        return 1;
    if (width < 320)
        return 2;
    if (width < 560)
        return 3;
    return 4;
}

CDlgVideoRender::CDlgVideoRender() { ::InitializeCriticalSection(&m_lock); }

CDlgVideoRender::~CDlgVideoRender() { ::DeleteCriticalSection(&m_lock); }

BOOL CDlgVideoRender::Create(CWnd* parent) { return CDialog::Create(IDD_VIDEO_RENDER, parent); }

BOOL CDlgVideoRender::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

bool CDlgVideoRender::IsOwnUser() const { return m_userId != 0 && m_userId == g_LoginInfo.userId; }

int CDlgVideoRender::Start()
{
    CScopedLock lock(&m_lock);
    // A reused window starts from the narrow class, so the new user's first
    // width is always reported and Stop never names a width he never had.
    m_nLastWidth = 200;
    m_nWidthClass = 0;
    if (IsOwnUser()) {
        if (!MEDIA_CALL(T_S_StartPreview, 0, (WPARAM)this, m_hWnd, WM_VIDEO_NOTIFY))
            return 0;
        RECT none = {0, 1, 0, 1};
        MEDIA_CALL_VOID(T_S_SetPreviewPos, none);
    } else {
        m_hReceiver = MEDIA_CALL(T_R_StartPreview, nullptr, (WPARAM)this, m_hWnd, WM_VIDEO_NOTIFY);
        if (!m_hReceiver)
            return 0;
        uint16_t port = 0;
        if (!MEDIA_CALL(T_R_BindLocalPort, 0, m_hReceiver, g_LoginInfo.roomId, g_LoginInfo.userId,
                        m_userId, &port))
            return 0;
        RECT none = {0, 1, 0, 1};
        MEDIA_CALL_VOID(T_R_SetPreviewPos, m_hReceiver, none);
    }
    SetRecording(GetVideoHost()->IsRecording() ? TRUE : FALSE);
    return 1;
}

int CDlgVideoRender::Stop()
{
    CScopedLock lock(&m_lock);
    if (IsOwnUser()) {
        MEDIA_CALL_VOID(T_S_StopPreview);
    } else if (m_userId != 0 || m_hReceiver) {
        if (m_hReceiver)
            MEDIA_CALL_VOID(T_R_StopPreview, &m_hReceiver);
        m_hReceiver = nullptr;
        if (m_userId != 0)
            GetVideoHost()->SendStopVideoNotice(m_userId, (uint16_t)m_nLastWidth, 0);
    }
    m_userId = 0;
    return 1;
}

void CDlgVideoRender::Position(int left, int top, int right, int bottom)
{
    CScopedLock lock(&m_lock);
    if (!m_bPosition || left < 0 || top < 0 || right < 0 || bottom < 0)
        return;
    RECT rect = {left, top, right, bottom};
    if (IsOwnUser()) {
        MEDIA_CALL_VOID(T_S_SetPreviewPos, rect);
        return;
    }
    if (m_userId == 0)
        return;
    if (m_hReceiver)
        MEDIA_CALL_VOID(T_R_SetPreviewPos, m_hReceiver, rect);
    int width = right - left;
    int widthClass = WidthClass(width);
    if (widthClass != m_nWidthClass) {
        GetVideoHost()->SendStopVideoNotice(m_userId, (uint16_t)m_nLastWidth, (uint16_t)width);
        m_nLastWidth = width;
        m_nWidthClass = widthClass;
    }
}

void CDlgVideoRender::PositionToClient()
{
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    Position(rc.left, rc.top, rc.right, rc.bottom);
}

void CDlgVideoRender::SetRecording(BOOL flag)
{
    if (IsOwnUser())
        MEDIA_CALL_VOID(T_S_SetRecord, flag, this, &CDlgVideoRender::RecordFrame);
    else if (m_hReceiver)
        MEDIA_CALL_VOID(T_R_SetRecord, m_hReceiver, flag, this, &CDlgVideoRender::RecordFrame);
}

void __cdecl CDlgVideoRender::RecordFrame(void* userData, const unsigned char* frame, int length)
{
    CDlgVideoRender* self = static_cast<CDlgVideoRender*>(userData);
    if (!self || !frame || length <= 0 || !GetVideoHost()->IsRecording())
        return;
    MEDIA_CALL(RV_WriteVideoData, 0, frame, length, self->m_userId);
}

int CDlgVideoRender::SendTo(int port)
{
    CScopedLock lock(&m_lock);
    if (IsOwnUser())
        return 1;
    if (!m_hReceiver)
        return 0;
    return MEDIA_CALL(T_R_SendTo, 0, m_hReceiver, g_LoginInfo.serverAddress, port) ? 1 : 0;
}

LRESULT CDlgVideoRender::MoveToParent(int mode, CWnd* newParent, CWnd* windowObject)
{
    m_nMode = mode;
    if (!m_hWnd || !newParent || !newParent->m_hWnd)
        return 0;
    HWND oldParent = ::GetParent(m_hWnd);
    if (oldParent)
        ::SendMessage(oldParent, WM_VIDEO_RENDER_LEFT, 0, 0);
    SetParent(newParent);
    return newParent->SendMessage(WM_VIDEO_RENDER_BACK, (WPARAM)this, (LPARAM)windowObject);
}

LRESULT CDlgVideoRender::MoveToParent(CDlgVideoRender* render, int mode, CWnd* newParent,
                                      CWnd* windowObject)
{
    return render ? render->MoveToParent(mode, newParent, windowObject) : 0;
}

void CDlgVideoRender::OnLibraryNotice(WPARAM, LPARAM value)
{
    if ((long)value < 1) {
        m_bPosition = TRUE;
        PositionToClient();
    } else {
        m_nRate = (int)(((DWORD)value >> 16) & 0xFFFF);
    }
}

void CDlgVideoRender::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    PositionToClient();
}

BOOL CDlgVideoRender::OnEraseBkgnd(CDC* dc)
{
    CRect rc;
    GetClientRect(&rc);
    dc->FillSolidRect(&rc, RGB(0, 0, 0));
    if (IsOwnUser())
        MEDIA_CALL(T_S_OnEraseBk, 0);
    else if (m_hReceiver)
        MEDIA_CALL_VOID(T_R_OnEraseBk, m_hReceiver);
    return TRUE;
}

LRESULT CDlgVideoRender::OnVideoNotify(WPARAM word, LPARAM value)
{
    // The library names the window object that started the video; the
    // render window's own handler serves it when that is this window.
    OnLibraryNotice(word, value);
    if (m_pOwner && m_pOwner->m_hWnd)
        m_pOwner->SendMessage(WM_VIDEO_NOTIFY, word, value);
    return 0;
}
