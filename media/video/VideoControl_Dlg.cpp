#include "VideoControl_Dlg.h"

#include "CCameraController.h"
#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CVideoHost.h"
#include "CameraModels.h"
#include "MediaVideoResource.h"

namespace {
const COLORREF kPanelColour = 0x00FFE1CA;
const struct
{
    UINT id;
    UINT bitmap;
} kButtons[7] = {
    {IDC_CAMERA_LEFT, IDB_CAMERA_LEFT},
    {IDC_CAMERA_RIGHT, IDB_CAMERA_RIGHT},
    {IDC_CAMERA_UP, IDB_CAMERA_UP},
    {IDC_CAMERA_DOWN, IDB_CAMERA_DOWN},
    {IDC_CAMERA_ZOOM_OUT, IDB_CAMERA_ZOOM_OUT},
    {IDC_CAMERA_ZOOM_IN, IDB_CAMERA_ZOOM_IN},
    {IDC_CAMERA_OTHER, IDB_CAMERA_OTHER},
};
} // namespace

BEGIN_MESSAGE_MAP(VideoControl_Dlg, CLangDialog)
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_CAMERA_OTHER, OnOther)
END_MESSAGE_MAP()

VideoControl_Dlg::VideoControl_Dlg(CWnd* parent)
    : CLangDialog(IDD_CAMERA_PANEL, "VideoControl_Dlg", parent)
{}

VideoControl_Dlg::~VideoControl_Dlg() { delete m_pController; }

BOOL VideoControl_Dlg::Create(CWnd* parent) { return CDialog::Create(IDD_CAMERA_PANEL, parent); }

int VideoControl_Dlg::CommandOfButton(UINT id)
{
    switch (id) {
    case IDC_CAMERA_LEFT:
        return 1;
    case IDC_CAMERA_RIGHT:
        return 2;
    case IDC_CAMERA_UP:
        return 3;
    case IDC_CAMERA_DOWN:
        return 4;
    case IDC_CAMERA_ZOOM_IN:
        return 5;
    case IDC_CAMERA_ZOOM_OUT:
        return 6;
    default:
        return -1;
    }
}

BOOL VideoControl_Dlg::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    for (int i = 0; i < 7; ++i) {
        CIconButton& button = m_buttons[i];
        if (!button.SubclassDlgItem(kButtons[i].id, this))
            continue;
        button.SetBitmaps(kButtons[i].bitmap, RGB(255, 255, 255), kButtons[i].bitmap,
                          RGB(255, 255, 255));
        button.SetStateColor(CIconButton::BTNST_COLOR_BK_IN, kPanelColour, FALSE);
        button.SetStateColor(CIconButton::BTNST_COLOR_BK_OUT, kPanelColour, FALSE);
        button.SetStateColor(CIconButton::BTNST_COLOR_BK_FOCUS, kPanelColour, FALSE);
        button.SetButtonCursor(IDC_CAMERA_HAND, FALSE);
        button.SetImageLayout(CIconButton::IMAGE_LEFT, FALSE);
        button.SizeToImage();
    }
    if (m_bCreateController) {
        m_nModel = (int)g_Settings.cameraType;
        m_pController = CreateCameraController(m_nModel, this);
        if (m_pController)
            SetPort((int)g_Settings.videoControlPort);
    }
    return TRUE;
}

void VideoControl_Dlg::SetPort(int port)
{
    m_nPort = port;
    if (m_pController)
        m_pController->Open(port);
}

void VideoControl_Dlg::SetModel(int modelIndex)
{
    if (modelIndex == m_nModel)
        return;
    delete m_pController;
    m_pController = CreateCameraController(modelIndex, this);
    m_nModel = modelIndex;
    if (m_pController)
        m_pController->Open(m_nPort);
}

void VideoControl_Dlg::SendCommand(int command)
{
    if (!m_hWnd)
        return;
    if (m_target != -1 && (uint32_t)m_target != g_LoginInfo.userId) {
        uint8_t byte = (uint8_t)command;
        GetVideoHost()->SendCameraControl((uint32_t)m_target, &byte, 1);
    } else {
        ExecuteCommand(command);
    }
}

void VideoControl_Dlg::ExecuteCommand(int command)
{
    if (!m_pController)
        return;
    switch (command) {
    case 1:
        m_pController->Left();
        break;
    case 2:
        m_pController->Right();
        break;
    case 3:
        m_pController->Up();
        break;
    case 4:
        m_pController->Down();
        break;
    case 5:
        m_pController->ZoomIn();
        break;
    case 6:
        m_pController->ZoomOut();
        break;
    default:
        m_pController->Stop();
        break;
    }
}

void VideoControl_Dlg::OnRemoteCommand(const void* data, int length)
{
    // A command without its byte is no command.
    if (!data || length < 1)
        return;
    ExecuteCommand(*static_cast<const uint8_t*>(data));
}

void VideoControl_Dlg::StopCamera()
{
    if (m_pController)
        m_pController->Stop();
}

void VideoControl_Dlg::HoldTick()
{
    if (m_nHeld >= 0)
        SendCommand(m_nHeld);
}

BOOL VideoControl_Dlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_LBUTTONDOWN && m_pController) {
        int command = CommandOfButton((UINT)::GetDlgCtrlID(msg->hwnd));
        if (command > 0 && ::GetParent(msg->hwnd) == m_hWnd) {
            m_nHeld = command;
            SetTimer(HOLD_TIMER, m_nHoldInterval, NULL);
            SendCommand(command);
        }
    } else if (msg->message == WM_LBUTTONUP &&
               (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (m_nHeld >= 0)
            KillTimer(HOLD_TIMER);
        m_nHeld = -1;
        SendCommand(0);
    }
    return CLangDialog::PreTranslateMessage(msg);
}

void VideoControl_Dlg::OnTimer(UINT id)
{
    if (id == HOLD_TIMER)
        HoldTick();
}

void VideoControl_Dlg::OnOther()
{
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_CAMERA_PANEL_OTHER, 0, 0);
}

BOOL VideoControl_Dlg::OnEraseBkgnd(CDC* dc)
{
    CRect rc;
    GetClientRect(&rc);
    dc->FillSolidRect(&rc, kPanelColour);
    return TRUE;
}

void VideoControl_Dlg::OnDestroy()
{
    delete m_pController;
    m_pController = nullptr;
    CLangDialog::OnDestroy();
}
