#include "CRCManager.h"

#include <cstdio>

#include "CAutoDialog.h"
#include "CDlgRCOption.h"
#include "CLogFile.h"
#include "CUserTable.h"
#include "IRCHost.h"
#include "SharingResource.h"
#include "SkinNames.h"

namespace {
const UINT BUTTON_IDS[8] = {IDC_RC_OPTIONS,  IDC_RC_FIT,       IDC_RC_ORIGINAL, IDC_RC_ZOOM_IN,
                            IDC_RC_ZOOM_OUT, IDC_RC_BROADCAST, IDC_RC_STOP,     IDC_RC_SETTINGS};
const COLORREF BAND_COLOUR = RGB(0xE2, 0xE2, 0xE2);
const COLORREF FRAME_COLOUR = RGB(0x80, 0x80, 0x80);
} // namespace

BEGIN_MESSAGE_MAP(CRCManager, CLangDialog)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_RC_OPTIONS, OnOptions)
    ON_BN_CLICKED(IDC_RC_FIT, OnFit)
    ON_BN_CLICKED(IDC_RC_ORIGINAL, OnOriginalSize)
    ON_BN_CLICKED(IDC_RC_ZOOM_IN, OnZoomIn)
    ON_BN_CLICKED(IDC_RC_ZOOM_OUT, OnZoomOut)
    ON_BN_CLICKED(IDC_RC_BROADCAST, OnBroadcastButton)
    ON_BN_CLICKED(IDC_RC_STOP, OnBroadcastButton)
    ON_BN_CLICKED(IDC_RC_SETTINGS, OnSettings)
    ON_MESSAGE(WM_RC_NOTIFY, OnNotify)
    ON_MESSAGE(WM_AUTODIALOG_RESULT, OnQuestionAnswer)
END_MESSAGE_MAP()

CRCManager::CRCManager(const RC_SETUP& setup) : CLangDialog(IDD, "CRCManager"), m_setup(setup) {}

CRCManager::~CRCManager()
{
    EndQuestion();
    CloseBlock();
}

BOOL CRCManager::CreatePage(CWnd* parent) { return Create(IDD, parent); }

void CRCManager::Log(const char* text)
{
    if (m_setup.log)
        m_setup.log->Write(1, "%s", text);
}

BOOL CRCManager::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    for (int i = 0; i < 8; ++i)
        if (m_buttons[i].SubclassDlgItem(BUTTON_IDS[i], this))
            m_buttons[i].SetBitmapStrip(SKIN_STANDARD_BUTTON, TRUE);
    if (m_saveBandwidth.SubclassDlgItem(IDC_RC_SAVE_BANDWIDTH, this))
        m_saveBandwidth.SetCheck(BST_CHECKED);
    UpdateButtons();
    OpenBlock();
    return TRUE;
}

void CRCManager::OpenBlock()
{
    m_blockName = CRCShareBlock::MakeName(::GetTickCount());
    m_mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                     sizeof(RC_SHARE_BLOCK), m_blockName.c_str());
    if (!m_mapping) {
        Log("create RC share memeory failed!");
        return;
    }
    void* view = ::MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(RC_SHARE_BLOCK));
    if (!view) {
        Log("Get RC share memeory point failed!");
        ::CloseHandle(m_mapping);
        m_mapping = NULL;
        return;
    }
    m_block.Attach(view);
    m_block.SetU32(RC_OFF_OWNER_WINDOW, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_hWnd)));
    m_block.SetU32(RC_OFF_ROOM_ID, m_setup.roomId);
    m_block.SetU32(RC_OFF_USER_ID, m_setup.ownUserId);
    m_block.SetU16(RC_OFF_SERVER_PORT, m_setup.applicationPort);
    m_block.SetServerAddress(m_setup.serverAddress.c_str());
    m_block.SetErrorText("Unknown error");

    // The program's path is quoted: the program folder may hold spaces.
    const std::string line = "\"" + m_setup.programFolder + "Shell.exe\" " + m_blockName;
    const unsigned result = m_setup.host ? m_setup.host->RunHidden(line) : 0;
    if (result < 32)
        Log("execute RC client failed!");
}

void CRCManager::CloseBlock()
{
    if (m_block.IsMapped()) {
        PostCommand(RC_CMD_QUIT);
        ::UnmapViewOfFile(m_block.Data());
        m_block.Attach(nullptr);
    }
    if (m_mapping) {
        ::CloseHandle(m_mapping);
        m_mapping = NULL;
    }
}

void CRCManager::OnDestroy()
{
    ::KillTimer(m_hWnd, TIMER_LAYOUT);
    EndQuestion();
    CloseBlock();
    CLangDialog::OnDestroy();
}

void CRCManager::PostNcDestroy() { CLangDialog::PostNcDestroy(); }

LRESULT CRCManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return CLangDialog::WindowProc(message, wParam, lParam);
    } catch (...) {
        Log("screen broadcast page: a message failed");
        return 0;
    }
}

void CRCManager::PostCommand(uint32_t command)
{
    if (!m_block.IsMapped())
        return;
    HWND target =
        reinterpret_cast<HWND>(static_cast<uintptr_t>(m_block.U32(RC_OFF_MESSAGE_WINDOW)));
    if (!target || !::IsWindow(target))
        return;
    m_block.SetU32(RC_OFF_COMMAND, command);
    ::PostMessage(target, WM_RC_NOTIFY, 0, 0);
}

std::string CRCManager::UserName(uint32_t userId)
{
    char name[32] = {};
    if (!m_setup.users || !m_setup.users->GetUserName(userId, name))
        return std::string();
    name[sizeof name - 1] = 0;
    return name;
}

void CRCManager::SetViewFields()
{
    m_block.SetU8(RC_OFF_FIT, 1);
    m_block.SetU8(RC_OFF_SCALED, 0);
    m_block.SetU32(RC_OFF_SCALE_DEN, 1);
    m_block.SetU32(RC_OFF_SCALE_NUM, 1);
    m_block.SetU32(RC_OFF_VIEW_START, 0);
}

// --- Own broadcast ---------------------------------------------------------

void CRCManager::OnBroadcastButton()
{
    const uint32_t own = m_setup.ownUserId;
    uint8_t role = 0, control = 0;
    if (m_setup.users) {
        m_setup.users->GetRole(own, &role);
        m_setup.users->GetControlState(own, &control);
    }
    if (role == 3)
        return;
    IRCHost* host = m_setup.host;
    if (control != 2) {
        if (host)
            host->ShowPlain("请申请会议控制");
        return;
    }
    if (m_mode == MODE_CONTROLLING) {
        if (host)
            host->ShowInformation("对不起,请先停止对其他用户的远程控制!");
        return;
    }
    if (host && host->GetBroadcastFlag()) {
        host->SendBroadcastState(0);
        EndBroadcast();
    } else {
        StartBroadcast();
    }
}

void CRCManager::StartBroadcast()
{
    // The options' defaults, without showing them.
    m_fit = true;
    m_block.SetU8(RC_OFF_COMPRESS8, 0);
    m_block.SetU32(RC_OFF_SHARE_KIND, 2);
    m_block.SetU32(RC_OFF_SHARED_WINDOW,
                   static_cast<uint32_t>(reinterpret_cast<uintptr_t>(::GetDesktopWindow())));
    if (m_mode == MODE_CONTROLLED) {
        if (m_setup.host)
            m_setup.host->SendControlAnswer(m_asker, 0);
        PostCommand(RC_CMD_STOP);
    } else if (m_mode == MODE_CONTROLLING) {
        if (m_setup.host)
            m_setup.host->SendControlRequest(m_controlledPeer, 0);
        PostCommand(RC_CMD_STOP);
    }
    m_mode = MODE_BROADCASTING;
    PostCommand(RC_CMD_SHARE);
}

void CRCManager::ApplyOptions(bool fit, bool compress8, HWND shared)
{
    m_fit = fit;
    m_block.SetU8(RC_OFF_COMPRESS8, compress8 ? 1 : 0);
    m_block.SetU32(RC_OFF_SHARE_KIND, 2);
    m_block.SetU32(RC_OFF_SHARED_WINDOW,
                   static_cast<uint32_t>(reinterpret_cast<uintptr_t>(shared)));
    PostCommand(RC_CMD_APPLY_OPTIONS);
}

void CRCManager::OnOptions()
{
    if (m_mode != MODE_BROADCASTING)
        return;
    CDlgRCOption dlg(this);
    if (dlg.DoModal() == IDOK)
        ApplyOptions(dlg.GetFit(), dlg.GetCompress8(), dlg.GetChosenWindow());
}

void CRCManager::OnSettings()
{
    if (m_setup.host)
        m_setup.host->OpenScreenSettings();
}

void CRCManager::EndBroadcast()
{
    if (m_mode != MODE_BROADCASTING)
        return;
    PostCommand(RC_CMD_STOP);
    if (m_setup.host)
        m_setup.host->RepaintTabArea();
    UpdateButtons();
}

// --- Watching ----------------------------------------------------------------

void CRCManager::StartReceiving(uint32_t)
{
    if (m_mode == MODE_CONTROLLED) {
        if (m_setup.host)
            m_setup.host->SendControlAnswer(m_asker, 0);
        PostCommand(RC_CMD_STOP);
    } else if (m_mode == MODE_CONTROLLING) {
        if (m_setup.host)
            m_setup.host->SendControlRequest(m_controlledPeer, 0);
        PostCommand(RC_CMD_STOP);
    }
    m_mode = MODE_WATCHING;
    SetViewFields();
    PostCommand(RC_CMD_VIEW);
}

void CRCManager::EndReceiving()
{
    if (m_mode != MODE_WATCHING)
        return;
    PostCommand(RC_CMD_STOP);
    if (m_setup.host)
        m_setup.host->RepaintTabArea();
}

void CRCManager::OnScreenControlGrant(uint8_t granted)
{
    if (m_mode != MODE_WATCHING)
        return;
    PostCommand(granted ? RC_CMD_CONTROL_GRANTED : RC_CMD_CONTROL_REVOKED);
}

// --- Being controlled --------------------------------------------------------

void CRCManager::OnControlRequest(uint32_t askerId, uint8_t request)
{
    if (!request) {
        if (m_mode == MODE_CONTROLLED)
            PostCommand(RC_CMD_STOP);
        return;
    }
    if (m_mode == MODE_CONTROLLED && askerId == m_asker)
        return;
    if (m_mode != MODE_IDLE) {
        if (m_setup.host)
            m_setup.host->SendControlAnswer(askerId, 0);
        return;
    }
    const std::string name = UserName(askerId);
    if (!m_setup.users || !m_setup.users->FindUser(askerId))
        return;
    m_mode = MODE_CONTROLLED;
    m_asker = askerId;
    char text[160];
    snprintf(text, sizeof text, "用户%s请求远程控制你的电脑,是否接受?", name.c_str());
    EndQuestion();
    m_question = new CAutoDialog(10, text, this);
    if (!m_question->Create(CAutoDialog::IDD, NULL)) {
        // No question can be asked: treated as a refusal.
        EndQuestion();
        m_mode = MODE_IDLE;
        if (m_setup.host)
            m_setup.host->SendControlAnswer(askerId, 0);
    }
}

LRESULT CRCManager::OnQuestionAnswer(WPARAM answer, LPARAM)
{
    // The question has done its work whatever the mode is now.
    EndQuestion();
    if (m_mode != MODE_CONTROLLED)
        return 0;
    if (answer == CAutoDialog::RESULT_OK) {
        PostCommand(RC_CMD_SHARE);
    } else {
        m_mode = MODE_IDLE;
        if (m_setup.host)
            m_setup.host->SendControlAnswer(m_asker, 0);
    }
    return 0;
}

void CRCManager::EndQuestion()
{
    if (!m_question)
        return;
    CAutoDialog* question = m_question;
    m_question = nullptr;
    if (question->m_hWnd && ::IsWindow(question->m_hWnd))
        question->DestroyWindow();
    delete question;
}

void CRCManager::EndControlled()
{
    if (m_mode == MODE_CONTROLLED)
        PostCommand(RC_CMD_STOP);
}

// --- Controlling another computer --------------------------------------------

void CRCManager::OnControlReply(uint32_t userId, uint8_t answer)
{
    const bool accepted = answer != 0 && answer != 2;
    if (m_mode != MODE_IDLE) {
        if (accepted && m_setup.host)
            m_setup.host->SendControlRequest(userId, 0);
        return;
    }
    if (!m_setup.users || !m_setup.users->FindUser(userId))
        return;
    if (!accepted) {
        char text[160];
        snprintf(text, sizeof text, "用户%s拒绝了你的远程控制请求!", UserName(userId).c_str());
        if (m_setup.host)
            m_setup.host->ShowInformation(text);
        return;
    }
    m_mode = MODE_CONTROLLING;
    m_controlledPeer = userId;
    SetViewFields();
    PostCommand(RC_CMD_VIEW);
}

void CRCManager::EndControlling()
{
    if (m_mode != MODE_CONTROLLING)
        return;
    PostCommand(RC_CMD_STOP);
    if (m_setup.host)
        m_setup.host->RepaintTabArea();
}

// --- Statuses of the sharing program ------------------------------------------

LRESULT CRCManager::OnNotify(WPARAM, LPARAM)
{
    if (m_block.IsMapped())
        OnStatus(m_block.U32(RC_OFF_STATUS));
    return 0;
}

void CRCManager::OnStatus(uint32_t status)
{
    IRCHost* host = m_setup.host;
    switch (status) {
    case RC_STATUS_STARTED:
        if (m_mode == MODE_BROADCASTING) {
            if (host) {
                host->SendBroadcastState(1);
                host->SetBroadcastFlag(true);
            }
            Log("broadcast screen success!\n");
            if (host && host->HasControlRight())
                host->ShowScreenPage();
            HWND shared =
                reinterpret_cast<HWND>(static_cast<uintptr_t>(m_block.U32(RC_OFF_SHARED_WINDOW)));
            HWND main = host ? host->GetMainWindow() : NULL;
            if (shared && shared != main && shared != ::GetDesktopWindow() && ::IsWindow(shared)) {
                ::PostMessage(shared, WM_SYSCOMMAND, SC_RESTORE, 0);
                ::SetForegroundWindow(shared);
            }
        } else if (m_mode == MODE_CONTROLLED) {
            if (host)
                host->SendControlAnswer(m_asker, 1);
        }
        break;
    case RC_STATUS_SHARE_FAILED:
        if (m_mode == MODE_BROADCASTING) {
            if (host) {
                host->ShowInformation("启动屏幕广播失败");
                host->SetBroadcastFlag(false);
            }
            Log("broadcast screen failed!\n");
        } else if (m_mode == MODE_CONTROLLED) {
            if (host)
                host->SendControlAnswer(m_asker, 0);
        }
        m_mode = MODE_IDLE;
        break;
    case RC_STATUS_VIEW_READY: {
        HWND view = reinterpret_cast<HWND>(static_cast<uintptr_t>(m_block.U32(RC_OFF_VIEW_WINDOW)));
        if (view && ::IsWindow(view)) {
            LONG style = ::GetWindowLong(view, GWL_STYLE);
            style &= ~(WS_CAPTION | WS_THICKFRAME | WS_POPUP);
            style |= WS_CHILD;
            ::SetWindowLong(view, GWL_STYLE, style);
            ::SetParent(view, m_hWnd);
            ::SetWindowPos(view, NULL, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED |
                               SWP_NOACTIVATE);
            LayoutView();
            ::ShowWindow(view, SW_SHOWNA);
            if (host)
                host->ShowScreenPage();
        }
        if (m_mode == MODE_CONTROLLING)
            PostCommand(RC_CMD_CONTROL_GRANTED);
        ::SetTimer(m_hWnd, TIMER_LAYOUT, 1000, NULL);
        break;
    }
    case RC_STATUS_VIEW_FAILED:
        if (m_mode == MODE_WATCHING) {
            if (host)
                host->ShowInformation("接收屏幕广播失败");
        } else if (m_mode == MODE_CONTROLLING) {
            if (host) {
                host->SendControlRequest(m_controlledPeer, 0);
                host->ShowInformation("启动远程控制失败!");
            }
        }
        m_mode = MODE_IDLE;
        break;
    case RC_STATUS_ENDED:
    case RC_STATUS_ENDED2:
        if (m_mode == MODE_BROADCASTING && host) {
            host->SendBroadcastState(0);
            host->SetBroadcastFlag(false);
        }
        if (host)
            host->RepaintTabArea();
        m_mode = MODE_IDLE;
        break;
    default:
        break;
    }
    UpdateButtons();
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, NULL, TRUE);
}

void CRCManager::UpdateButtons()
{
    if (!m_hWnd || m_mode == MODE_CONTROLLED)
        return;
    const bool viewing = m_mode == MODE_WATCHING || m_mode == MODE_CONTROLLING;
    auto enable = [this](UINT id, bool on) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(on ? TRUE : FALSE);
    };
    enable(IDC_RC_OPTIONS, m_mode == MODE_BROADCASTING);
    enable(IDC_RC_STOP, m_mode == MODE_BROADCASTING);
    enable(IDC_RC_BROADCAST, m_mode == MODE_IDLE);
    enable(IDC_RC_FIT, viewing);
    enable(IDC_RC_ORIGINAL, viewing);
    enable(IDC_RC_ZOOM_IN, viewing);
    enable(IDC_RC_ZOOM_OUT, viewing);
}

// --- View controls -------------------------------------------------------------

void CRCManager::OnFit()
{
    if (m_mode != MODE_WATCHING && m_mode != MODE_CONTROLLING)
        return;
    m_block.SetU8(RC_OFF_FIT, 1);
    PostCommand(RC_CMD_APPLY_OPTIONS);
}

void CRCManager::OnOriginalSize()
{
    if (m_mode != MODE_WATCHING && m_mode != MODE_CONTROLLING)
        return;
    m_block.SetU8(RC_OFF_FIT, 0);
    m_block.SetU8(RC_OFF_SCALED, 0);
    m_block.SetU32(RC_OFF_SCALE_DEN, 1);
    m_block.SetU32(RC_OFF_SCALE_NUM, 1);
    PostCommand(RC_CMD_APPLY_OPTIONS);
}

void CRCManager::OnZoomIn()
{
    if (m_mode != MODE_WATCHING && m_mode != MODE_CONTROLLING)
        return;
    if (m_zoom > 0.2)
        m_zoom *= 0.8333333333333334;
    ApplyZoom();
}

void CRCManager::OnZoomOut()
{
    if (m_mode != MODE_WATCHING && m_mode != MODE_CONTROLLING)
        return;
    if (m_zoom < 5.0)
        m_zoom *= 1.2;
    ApplyZoom();
}

void CRCManager::ApplyZoom()
{
    m_block.SetU8(RC_OFF_FIT, 0);
    m_block.SetU8(RC_OFF_SCALED, 1);
    m_block.SetU32(RC_OFF_SCALE_DEN, 10);
    m_block.SetU32(RC_OFF_SCALE_NUM, static_cast<uint32_t>(10.0 / m_zoom));
    PostCommand(RC_CMD_APPLY_OPTIONS);
}

// --- Layout and painting ----------------------------------------------------------

void CRCManager::LayoutView()
{
    if (!m_hWnd || !m_block.IsMapped())
        return;
    HWND view = reinterpret_cast<HWND>(static_cast<uintptr_t>(m_block.U32(RC_OFF_VIEW_WINDOW)));
    if (!view || !::IsWindow(view) || ::GetParent(view) != m_hWnd)
        return;
    RECT r;
    ::GetClientRect(m_hWnd, &r);
    r.top += BAND_HEIGHT;
    ::InflateRect(&r, -1, -1);
    ::MoveWindow(view, r.left, r.top, r.right > r.left ? r.right - r.left : 0,
                 r.bottom > r.top ? r.bottom - r.top : 0, TRUE);
}

void CRCManager::OnSize(UINT type, int cx, int cy)
{
    CLangDialog::OnSize(type, cx, cy);
    int x = 2;
    for (int i = 0; i < 8; ++i) {
        if (!m_buttons[i].m_hWnd)
            continue;
        RECT r;
        m_buttons[i].GetWindowRect(&r);
        const int w = r.right - r.left;
        m_buttons[i].SetWindowPos(NULL, x, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += w + 2;
    }
    if (m_saveBandwidth.m_hWnd)
        m_saveBandwidth.SetWindowPos(NULL, x + 4, 4, 0, 0,
                                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutView();
}

BOOL CRCManager::OnEraseBkgnd(CDC* dc)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HDC hdc = dc->GetSafeHdc();
    RECT band = client;
    band.bottom = band.top + BAND_HEIGHT;
    HBRUSH brush = ::CreateSolidBrush(BAND_COLOUR);
    ::FillRect(hdc, &band, brush);
    ::DeleteObject(brush);
    RECT rest = client;
    rest.top = band.bottom;
    if (m_mode == MODE_WATCHING || m_mode == MODE_CONTROLLING) {
        ::FillRect(hdc, &rest, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        HBRUSH frame = ::CreateSolidBrush(FRAME_COLOUR);
        ::FrameRect(hdc, &rest, frame);
        ::DeleteObject(frame);
    } else {
        ::FillRect(hdc, &rest, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    return TRUE;
}

void CRCManager::OnTimer(UINT id)
{
    if (id == TIMER_LAYOUT) {
        ::KillTimer(m_hWnd, TIMER_LAYOUT);
        LayoutView();
        return;
    }
    CLangDialog::OnTimer(id);
}
