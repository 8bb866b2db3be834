#include "CMainFrame.h"

#include "CBufferPool.h"
#include "CCommandManager.h"
#include "CCommandLine.h"
#include "CFrameCommandLink.h"
#include "CFrameLink.h"
#include "CFrameMedia.h"
#include "CLanguageManager.h"
#include "CMainFrameCommands.h"
#include "CServerDispatcher.h"
#include "DispatchTargets.h"
#include "CStandInPanes.h"
#include "CUserTable.h"
#include "CWin32ProcessLauncher.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "IFrameLink.h"
#include "IFrameMedia.h"
#include "IChatPane.h"
#include "IFrameVideoWall.h"
#include "IRecorder.h"
#include "MainFrameMessages.h"
#include "MainFrameResource.h"
#include "WireReader.h"

#include <algorithm>
#include <cstring>

namespace {
// Offsets in the meeting-state record.
enum : size_t {
    MS_VOTE_COUNTS = 1280,
    MS_VOTE_ITEMS = 5,
    MS_BULLETIN = 1304,
    MS_BULLETIN_SIZE = 80,
    MS_FILES_FORBIDDEN = 1384,
    MS_PRIVATE_CHAT_FORBIDDEN = 1388,
};

const UINT kPopupIds[CMainFrame::POPUP_COUNT] = {
    IDR_MENU_DATA_WINDOW, IDR_MENU_FILE,           IDR_MENU_MEETING_MODE, IDR_MENU_REQUEST,
    IDR_MENU_SPLIT,       IDR_MENU_RECEIVED_FILES, IDR_MENU_WINDOW_MODE};
const char* const kPopupSections[CMainFrame::POPUP_COUNT] = {
    "DataWndMenuK",  "ManageFileMenuK", "MeetingModeMenuK", "RequestMenuK",
    "SplitScrMenuK", "ViewFileMenuK",   "WndModeMenuK"};

// The tab pages: pane, text id (0: fixed text).
struct PageSpec
{
    FRAME_PANE pane;
    UINT textId;
    const char* text;
};
const PageSpec kPages[] = {
    {PANE_PAGE_WHITEBOARD, 61582, "白板"},   {PANE_PAGE_PRESENTATION, 61583, "演讲板"},
    {PANE_PAGE_BROWSING, 61584, "协同浏览"}, {PANE_PAGE_NET_DISK, 61650, "网络硬盘"},
    {PANE_PAGE_SCREEN, 61577, "屏幕广播"},   {PANE_PAGE_VOTES, 0, " 投票 "},
};

uint32_t ReadU32(const unsigned char* p)
{
    uint32_t v = 0;
    WireReader r(p, 4);
    r.U32(v);
    return v;
}

void WriteU32(unsigned char* p, uint32_t v)
{
    WireWriter w(p, 4);
    w.U32(v);
}

// Split counts of the split menu commands.
struct SplitCommand
{
    UINT id;
    uint8_t count;
    bool fullScreen;
};
const SplitCommand kSplitCommands[] = {
    {ID_SPLIT_4, 4, false},       {ID_SPLIT_6, 6, false},       {ID_SPLIT_8, 8, false},
    {ID_SPLIT_9, 9, false},       {ID_SPLIT_12, 12, false},     {ID_SPLIT_16, 16, false},
    {ID_SPLIT_25, 25, false},     {ID_SPLIT_4_FULL, 4, true},   {ID_SPLIT_9_FULL, 9, true},
    {ID_SPLIT_16_FULL, 16, true}, {ID_SPLIT_25_FULL, 25, true},
};
} // namespace

const char* const CMainFrame::kProductCaption = "Halvern--";

BEGIN_MESSAGE_MAP(CMainFrame, CMainFrameBase)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_GETMINMAXINFO()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_AUTO_DIALOG_RESULT, OnAutoDialogResult)
    ON_MESSAGE(WM_KEY_NOTICE, OnKeyNotice)
    ON_MESSAGE(WM_SPLITTER_MOVED, OnSplitterMoved)
    ON_MESSAGE(WM_LAYOUT_CODE, OnLayoutCode)
    ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_COMMAND(IDC_TAB_FULLSCREEN, OnTabFullScreen)
    ON_COMMAND(IDC_TAB_RESTORE, OnTabRestore)
END_MESSAGE_MAP()

namespace {
// The service a caller gave, or a default of the frame's own kept in own.
template <class Default, class Service>
Service* GivenOrOwn(Service* given, std::unique_ptr<Service>& own)
{
    if (given)
        return given;
    own.reset(new Default);
    return own.get();
}
} // namespace

CMainFrame::CMainFrame(const MAINFRAME_SERVICES& services)
{
    m_link = GivenOrOwn<CFrameLink>(services.link, m_ownLink);
    m_media = GivenOrOwn<CFrameMedia>(services.media, m_ownMedia);
    m_launcher = GivenOrOwn<CWin32ProcessLauncher>(services.launcher, m_ownLauncher);
    m_sleep = services.sleep ? services.sleep : [](DWORD ms) { ::Sleep(ms); };
    m_login = services.login ? services.login : &g_LoginInfo;
    m_users = services.users ? services.users : &g_UserTable;
    m_lang = services.language ? services.language : &g_LangManager;
    m_programPath = services.programPath;
    FRAME_COMMAND_CONTEXT commands;
    commands.frame = this;
    commands.login = m_login;
    commands.users = m_users;
    commands.language = m_lang;
    commands.launcher = m_launcher;
    commands.programFolder = m_programPath.empty()
                                 ? GetAppDirectory()
                                 : SplitPath(m_programPath.c_str(), SPLIT_DRIVE | SPLIT_FOLDER);
    m_commands.reset(new CMainFrameCommands(commands, services.commands));
    m_languageMenuWanted = services.languageMenu;
    m_removedCommands = services.removedCommands;

    m_layout = WINDOW_LAYOUT{0, 0, DISPLAY_DATA, 0, 0, LAYOUT_NO_USER};
    m_savedLayout = m_layout;
    // No vote yet: every item unused.
    for (size_t i = 0; i < MS_VOTE_ITEMS; ++i)
        WriteU32(m_meetingState + MS_VOTE_COUNTS + 4 * i, 0xFFFFFFFFu);

    for (int i = 0; i < POPUP_COUNT; ++i)
        m_popups[i].LoadMenu(kPopupIds[i]);

    // The dispatcher reaches the shared values and this window; the panes
    // add themselves as they are built.
    m_commandLink.reset(new CFrameCommandLink);
    DISPATCH_TARGETS targets;
    targets.users = m_users;
    targets.login = m_login;
    targets.meetingLocked = &m_meetingLocked;
    targets.freeFileSending = &m_login->freeFileSending;
    targets.language = m_lang;
    targets.log = &g_Log;
    targets.mainWindow = this;
    targets.link = m_commandLink.get();
    targets.recorder = &m_commands->Recorder();
    m_dispatcher.reset(new CServerDispatcher(targets));

    // Last, the panes: a factory given here reaches the dispatcher.
    if (services.makePanes)
        m_ownPanes.reset(services.makePanes(this));
    m_panes = m_ownPanes ? m_ownPanes.get() : GivenOrOwn<CStandInPanes>(services.panes, m_ownPanes);
}

CMainFrame::~CMainFrame()
{
    for (CMenu& popup : m_popups)
        popup.DestroyMenu();
    for (int i = PANE_COUNT - 1; i >= 0; --i) {
        if (m_paneOwned[i])
            delete m_paneWnds[i];
        m_paneWnds[i] = nullptr;
    }
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
}

void CMainFrame::SetMessageHandler(std::function<void(const unsigned char*, size_t)> handler)
{
    m_handler = std::move(handler);
}

void CMainFrame::DispatchServerMessage(const unsigned char* data, size_t length)
{
    if (m_handler) {
        m_handler(data, length);
        return;
    }
    m_dispatcher->Dispatch(data, length);
}

void CMainFrame::AddSystemNotice(const char* text)
{
    if (IChatPane* chat = m_dispatcher->Targets().chat)
        chat->AddSystemNotice(text ? text : "");
    else
        g_Log.Write(1, "<CMainFrame::AddSystemNotice> %s\n", text ? text : "");
}

std::string CMainFrame::LoadText(UINT id, const char* fallback) const
{
    std::string text = fallback ? fallback : "";
    if (m_lang)
        m_lang->LoadStringTo(id, text);
    return text;
}

// ---------------------------------------------------------------- creation

namespace {
FRAME_WHITEBOARD_FACTORY s_whiteboardFactory = nullptr;
} // namespace

void CMainFrame::SetWhiteboardFactory(FRAME_WHITEBOARD_FACTORY factory)
{
    s_whiteboardFactory = factory;
}

bool CMainFrame::CreatePane(FRAME_PANE pane, CWnd* parent)
{
    // The whiteboard page: its records leave as 2081 and the dispatcher
    // hands it the records of the others.
    if (pane == PANE_PAGE_WHITEBOARD && s_whiteboardFactory &&
        (m_whiteboard = s_whiteboardFactory(parent))) {
        m_whiteboard->SetSendCallback(&CMainFrame::OnWhiteboardSend, this);
        DISPATCH_TARGETS targets = m_dispatcher->Targets();
        targets.whiteboard = m_whiteboard;
        m_dispatcher->SetTargets(targets);
        m_paneWnds[pane] = m_whiteboard->GetPageWindow();
        m_paneOwned[pane] = false;
        return true;
    }
    CWnd* wnd = m_panes->CreatePane(pane, parent);
    m_paneWnds[pane] = wnd;
    m_paneOwned[pane] = wnd && m_panes->OwnedByFrame(pane);
    return wnd || !IsRequiredPane(pane);
}

void CMainFrame::AddLanguageMenu()
{
    CMenu* menu = GetMenu();
    CMenu* user = menu ? menu->GetSubMenu(1) : nullptr;
    if (!user || !m_lang || m_lang->GetCount() == 0)
        return;
    if (!m_languageMenu.CreatePopupMenu())
        return;
    for (int i = 0; i < m_lang->GetCount(); ++i)
        m_languageMenu.AppendMenu(MF_STRING, ID_LANGUAGE_FIRST + i, m_lang->GetName(i));
    // The popup goes to the end of the user menu; the menu owns it from here.
    user->AppendMenu(MF_SEPARATOR, 0, (LPCSTR) nullptr);
    user->AppendMenu(MF_POPUP, (UINT_PTR)m_languageMenu.Detach(), "语言(Language)");
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    // 1. The skinned frame.
    if (CDBFrame::OnCreate(cs) == -1)
        return -1;
    // 2. The language choice in the user menu; the commands left out.
    if (m_languageMenuWanted)
        AddLanguageMenu();
    if (CMenu* menu = GetMenu())
        for (UINT id : m_removedCommands)
            menu->DeleteMenu(id, MF_BYCOMMAND);
    // 3. The menu bar (the frame's tool bar).
    if (!m_menuBar.CreateBar(this, m_lang))
        return -1;
    // 4. The room's audio; without a usable port the meeting goes on without it.
    if (m_login->audioPort == 0 || m_login->audioPort2 == 0)
        ShowMessageById(61596);
    else if (!m_media->ConnectAudio(m_login->roomId, m_login->userId, m_login->serverAddress,
                                    m_login->audioPort))
        ShowMessageById(61593);
    // 5. Dialogs and panes with the frame as parent.
    CreatePane(PANE_DEVICE, this);
    CreatePane(PANE_DEVICE_REMOTE, this);
    CreatePane(PANE_CHAT, this);
    m_wall.reset(m_panes->CreateVideoWall(this));
    if (m_wall)
        m_wall->SetSplitCount((uint8_t)(m_layout.split & 0xFF));
    CreatePane(PANE_LEFT, this);
    // 6. The tab strip over the client area.
    CRect client;
    GetClientRect(&client);
    if (!m_tab.CreateStrip(this, this, client, AFX_IDW_PANE_FIRST))
        return -1;
    m_tab.SetItemSize(CSize(TAB_WIDTH, TAB_HEIGHT));
    CreatePane(PANE_SCREEN_DIALOG, &m_tab);
    // 7. Its pages.
    for (const PageSpec& page : kPages) {
        if (!CreatePane(page.pane, &m_tab))
            return -1;
        const std::string title = page.textId ? LoadText(page.textId, page.text) : page.text;
        if (m_paneWnds[page.pane])
            m_tab.AppendPage(m_paneWnds[page.pane]->GetSafeHwnd(), title.c_str());
    }
    if (m_tab.GetItemCount() > 0)
        m_tab.SelectPage(0);
    // 8. First layout and the timers.
    m_tab.Invalidate();
    RecalcPanes(FALSE);
    SetTimer(TIMER_KEEP_ALIVE, 2000, nullptr);
    SetTimer(TIMER_START, 10, nullptr);
    // 9. Texts of the current language.
    ApplyLanguageTexts(TRUE);
    // 10. Further windows, hidden.
    if (!m_bigVideo.CreateWindowed(this))
        return -1;
    m_restoreBar.CreateBar(this, this);
    CreatePane(PANE_PRINT_PROGRESS, nullptr);
    if (!CreatePane(PANE_CAMERA, nullptr))
        return -1;
    CreatePane(PANE_PAN_TILT, this);
    CreatePane(PANE_SCREEN_CONFIG, this);
    m_arrowBar.CreateBar(this, this);
    m_splitter.CreateBar(this, this);
    CreatePane(PANE_ROOM_LIST, nullptr);
    CreatePane(PANE_RECORD_TIMER, nullptr);
    // 11. The title.
    UpdateTitle();
    RecalcPanes(TRUE);
    m_commands->Attach();
    return 0;
}

void CMainFrame::OnClose()
{
    // The timers stop, the media stop, then the connection closes.
    KillTimer(TIMER_DRAIN);
    KillTimer(TIMER_KEEP_ALIVE);
    m_media->StopAll();
    m_commands->BeforeConnectionCloses();
    m_link->Close();
    m_commands->AfterConnectionClosed();
    CMainFrameBase::OnClose();
}

void CMainFrame::OnDestroy()
{
    m_commands->Detach();
    if (m_whiteboard) {
        DISPATCH_TARGETS targets = m_dispatcher->Targets();
        targets.whiteboard = nullptr;
        m_dispatcher->SetTargets(targets);
        m_whiteboard = nullptr; // its window goes with the tab strip
    }
    KillTimer(TIMER_START);
    KillTimer(TIMER_DRAIN);
    KillTimer(TIMER_KEEP_ALIVE);
    CMainFrameBase::OnDestroy();
}

// ---------------------------------------------------------------- timers

void CMainFrame::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TIMER_START:
        KillTimer(TIMER_START);
        OnStartStep();
        break;
    case TIMER_DRAIN:
        DrainQueue();
        break;
    case TIMER_KEEP_ALIVE:
        m_link->SendKeepAlive();
        break;
    default:
        break;
    }
    Default();
}

void CMainFrame::OnStartStep()
{
    m_panes->InitDevices();
    // The server answers the start notice with the meeting state.
    m_link->SendStartNotice();
    if (m_users->HasVideo(m_login->userId))
        m_panes->StartOwnPreview();
    SetTimer(TIMER_DRAIN, 50, nullptr);
}

void CMainFrame::DrainQueue()
{
    CBufferPool* queue = m_link->ReceivedQueue();
    if (!queue)
        return;
    // Every message queued now, in order, without waiting.
    while (CQueueBuffer* buffer = queue->GetFilled(0)) {
        const uint32_t length = std::min(buffer->GetLength(), buffer->GetCapacity());
        try {
            if (length > 0)
                DispatchServerMessage(buffer->GetData(), length);
            else
                OnConnectionLost();
        } catch (...) {
            g_Log.Write(0, "<CMainFrame::DrainQueue> a message of %u bytes failed\n",
                        (unsigned)length);
        }
        queue->PutFree(buffer);
        if (!m_hWnd)
            break;
    }
}

void CMainFrame::OnConnectionLost()
{
    m_media->StopAll();
    if (AskMainWindow(LoadText(61597, "与服务器连接意外中断,请重新启动运行系统!").c_str()) != IDOK)
        return;
    std::string path = m_programPath;
    if (path.empty()) {
        char module[MAX_PATH] = {};
        if (::GetModuleFileNameA(nullptr, module, sizeof module) > 0)
            path = module;
    }
    if (!path.empty()) {
        const std::string line = CCommandLine::BuildLoginLine(path.c_str(), *m_login);
        m_sleep(RESTART_DELAY_MS);
        if (!m_launcher->Start(nullptr, line))
            g_Log.Write(0, "<CMainFrame::OnConnectionLost> restart failed: %s\n", path.c_str());
    }
    PostMessage(WM_CLOSE);
}

// ---------------------------------------------------------------- messages

namespace {
// The screen-capture hot key's id.
const WPARAM kCaptureHotKey = 256;
} // namespace

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        // The capture hot key: a region of the screen into the whiteboard.
        if (message == WM_HOTKEY && wParam == kCaptureHotKey) {
            CaptureScreenToFile();
            return 0;
        }
        return CMainFrameBase::WindowProc(message, wParam, lParam);
    } catch (...) {
        g_Log.Write(0, "<CMainFrame::WindowProc> message %u failed\n", message);
        return 0;
    }
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    CDBFrame::OnGetMinMaxInfo(info);
    info->ptMinTrackSize.x = MIN_TRACK_WIDTH;
    info->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
}

void CMainFrame::OnSize(UINT type, int cx, int cy)
{
    CDBFrame::OnSize(type, cx, cy);
    if (m_tab.m_hWnd)
        RecalcPanes(TRUE);
}

LRESULT CMainFrame::OnAutoDialogResult(WPARAM wParam, LPARAM)
{
    if (wParam == 1)
        PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainFrame::OnKeyNotice(WPARAM wParam, LPARAM lParam)
{
    return m_commands->OnKeyNotice(wParam, lParam);
}

LRESULT CMainFrame::OnSplitterMoved(WPARAM wParam, LPARAM)
{
    CWnd* chat = m_paneWnds[PANE_CHAT];
    if (!m_tab.m_hWnd)
        return 0;
    CRect area = GetPaneArea();
    CRect tab;
    m_tab.GetWindowRect(&tab);
    ScreenToClient(&tab);
    int y = (int)(short)LOWORD(wParam);
    CRect chatRect;
    if (chat && chat->m_hWnd) {
        chat->GetWindowRect(&chatRect);
        ScreenToClient(&chatRect);
    } else {
        chatRect = CRect(tab.left, area.bottom, tab.right, area.bottom);
    }
    // Keep both panes on the screen: the tab row and a sliver of chat.
    y = std::max<int>(y, tab.top + m_tab.GetTabHeight() + CMainTabStrip::PAGE_GAP);
    y = std::min<int>(y, chatRect.bottom - CDlgSplitter::BAR_HEIGHT - 20);
    m_tab.MoveWindow(tab.left, tab.top, tab.Width(), std::max<int>(0, y - tab.top));
    if (m_splitter.m_hWnd)
        m_splitter.MoveWindow(tab.left, y, tab.Width(), CDlgSplitter::BAR_HEIGHT);
    if (chat && chat->m_hWnd)
        chat->MoveWindow(chatRect.left, y + CDlgSplitter::BAR_HEIGHT, chatRect.Width(),
                         std::max(0, (int)chatRect.bottom - (y + CDlgSplitter::BAR_HEIGHT)));
    return 0;
}

LRESULT CMainFrame::OnLayoutCode(WPARAM wParam, LPARAM)
{
    if (HasLayoutRight())
        ApplyLayoutCode((unsigned)wParam);
    return 0;
}

LRESULT CMainFrame::OnLanguageChanged(WPARAM, LPARAM)
{
    ApplyLanguageTexts(TRUE);
    return 0;
}

void CMainFrame::ApplyLanguageTexts(BOOL apply)
{
    if (apply) {
        BuildTitle();
        SendMessage(WM_NCPAINT, 1, 0);
        for (int i = 0; i < 5 && i < m_tab.GetItemCount(); ++i) {
            const std::string text = LoadText(kPages[i].textId, kPages[i].text);
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(text.c_str());
            m_tab.SetItem(i, &item);
        }
        if (m_tab.m_hWnd)
            m_tab.Invalidate();
    }
    for (int i = 0; i < POPUP_COUNT; ++i)
        if (m_lang && m_popups[i].GetSafeHmenu())
            m_lang->TranslateMenu(kPopupSections[i], m_popups[i].GetSafeHmenu());
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        if (HasLayoutRight())
            LeaveFullScreen();
        return TRUE;
    }
    return CMainFrameBase::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------- layout

bool CMainFrame::HasLayoutRight() const { return ::HasControlRight(*m_login, *m_users); }

CRect CMainFrame::GetPaneArea()
{
    CRect area;
    GetClientRect(&area);
    if (m_menuBar.m_hWnd && m_menuBar.IsWindowVisible()) {
        CRect bar;
        m_menuBar.GetWindowRect(&bar);
        area.top = std::min(area.bottom, area.top + bar.Height());
    }
    return area;
}

void CMainFrame::RecalcPanes(BOOL noSend)
{
    if (!m_hWnd || m_inRecalc)
        return;
    m_inRecalc = true;
    m_commands->RecordLayoutState(false);
    if (m_layoutControl && !noSend)
        SendWindowLayout();

    const CRect area = GetPaneArea();
    CWnd* wall = m_wall ? m_wall->Window() : nullptr;
    CWnd* left = m_paneWnds[PANE_LEFT];
    CWnd* chat = m_paneWnds[PANE_CHAT];
    auto place = [](CWnd* wnd, bool show, const CRect& r) {
        if (!wnd || !wnd->m_hWnd)
            return;
        if (show)
            wnd->SetWindowPos(nullptr, r.left, r.top, std::max(0, (int)r.Width()),
                              std::max(0, (int)r.Height()),
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            wnd->ShowWindow(SW_HIDE);
    };

    if (m_layout.fullScreenVideo == 1) {
        place(wall, true, area);
    } else {
        const uint8_t d = m_layout.displayMode;
        const bool showLeft = d <= DISPLAY_DATA_ONLY && m_layout.fullScreenWindow == 0;
        const int rightEdge = showLeft ? area.right - LEFT_PANE_WIDTH : area.right;
        place(left, showLeft, CRect(rightEdge, area.top, area.right, area.bottom));

        const bool showWall = d == DISPLAY_VIDEOS || d == DISPLAY_DATA;
        if (d == DISPLAY_VIDEOS)
            place(wall, showWall, CRect(area.left, area.top, rightEdge, area.bottom));
        else
            place(wall, showWall,
                  CRect(area.left, area.top, area.left + VIDEO_COLUMN_WIDTH, area.bottom));

        const bool dataShown = d == DISPLAY_DATA || d == DISPLAY_DATA_ONLY;
        const int dataLeft = area.left + (d == DISPLAY_DATA ? VIDEO_COLUMN_WIDTH : 0) + GAP;
        const bool showChat = m_chatShown && dataShown && chat && chat->m_hWnd;
        int chatHeight = 0;
        if (showChat) {
            CRect old;
            chat->GetWindowRect(&old);
            chatHeight = std::min<int>(old.Height(), std::max(0, (int)area.Height() - 2));
        }
        place(chat, showChat, CRect(dataLeft, area.bottom - chatHeight, rightEdge, area.bottom));
        const int tabBottom = showChat ? area.bottom - (chatHeight + 2) : area.bottom;
        const CRect tabRect(dataLeft, area.top, rightEdge, tabBottom);
        place(&m_tab, dataShown, tabRect);
        place(&m_arrowBar, dataShown,
              CRect(dataLeft - CDlgArrowBar::WIDTH, area.top, dataLeft, area.bottom));
        place(&m_splitter, dataShown && showChat,
              CRect(dataLeft, tabBottom, rightEdge, tabBottom + CDlgSplitter::BAR_HEIGHT));
        m_tab.ShowFullScreenButton(!(d == DISPLAY_DATA_ONLY && m_layout.fullScreenWindow == 1));
        m_tab.ShowChatButtons(m_chatShown);
    }
    Invalidate();
    m_inRecalc = false;
}

void CMainFrame::SetChatPaneShown(bool shown)
{
    m_chatShown = shown;
    RecalcPanes(FALSE);
}

void CMainFrame::SendWindowLayout()
{
    if (!m_layoutControl)
        return;
    m_layout.tabPage = (uint8_t)std::max(0, m_tab.m_hWnd ? m_tab.GetCurPage() : 0);
    if (m_wall)
        m_layout.userId = m_layout.fullScreenVideo == 1 ? m_wall->GetFullScreenUser()
                                                        : m_wall->GetMainVideoUser();
    unsigned char record[sizeof(WINDOW_LAYOUT)];
    WriteWindowLayout(m_layout, record);
    m_link->SendWindowLayout(record, (uint8_t)sizeof record);
}

void CMainFrame::TakeLayoutControl()
{
    m_layoutControl = true;
    SendWindowLayout();
}

void CMainFrame::DropLayoutControl() { m_layoutControl = false; }

void CMainFrame::ApplyWindowLayout(const void* record, size_t length)
{
    WINDOW_LAYOUT next;
    if (!ReadWindowLayout(record, length, &next) || m_login->meetingMode != 2)
        return;
    if (m_tab.m_hWnd && next.tabPage != m_tab.GetCurPage() && next.tabPage < m_tab.GetItemCount())
        m_tab.SelectPage(next.tabPage);
    if (next.fullScreenVideo != m_layout.fullScreenVideo)
        ShowUserFullScreen(next.userId, next.fullScreenVideo == 1);
    if (next.fullScreenWindow != m_layout.fullScreenWindow) {
        if (next.fullScreenWindow == 1)
            EnterFullScreen();
        else
            LeaveFullScreen();
    }
    if ((next.split & 0xFF) != (m_layout.split & 0xFF) && m_wall)
        m_wall->SetSplitCount((uint8_t)(next.split & 0xFF));
    if (m_wall)
        m_wall->SetMainVideo(next.userId);
    m_layout = next;
    m_savedLayout = next;
    RecalcPanes(FALSE);
}

void CMainFrame::GrowOverScreen()
{
    // The client area below the menu bar covers the whole screen.
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    const int barHeight = GetPaneArea().top;
    const int left = client.left - window.left;
    const int top = client.top - window.top + barHeight;
    const int right = window.right - client.right;
    const int bottom = window.bottom - client.bottom;
    ::SetWindowPos(m_hWnd, HWND_TOP, -left, -top, ::GetSystemMetrics(SM_CXSCREEN) + left + right,
                   ::GetSystemMetrics(SM_CYSCREEN) + top + bottom, SWP_NOACTIVATE);
}

void CMainFrame::RestoreMaximised()
{
    MINMAXINFO info = {};
    SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
    CRect target(info.ptMaxPosition.x, info.ptMaxPosition.y,
                 info.ptMaxPosition.x + info.ptMaxSize.x, info.ptMaxPosition.y + info.ptMaxSize.y);
    if (target.IsRectEmpty())
        ::SystemParametersInfo(SPI_GETWORKAREA, 0, &target, 0);
    SetWindowPos(nullptr, target.left, target.top, target.Width(), target.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::ShowUserFullScreen(uint32_t userId, bool on)
{
    if (on) {
        m_layout.fullScreenVideo = 1;
        m_layout.userId = userId;
        for (CWnd* wnd : {(CWnd*)&m_tab, m_paneWnds[PANE_LEFT], m_paneWnds[PANE_CHAT],
                          (CWnd*)&m_splitter, (CWnd*)&m_arrowBar})
            if (wnd && wnd->m_hWnd)
                wnd->ShowWindow(SW_HIDE);
        GrowOverScreen();
    } else {
        if (m_layout.fullScreenWindow != 1)
            RestoreMaximised();
        m_layout.fullScreenVideo = 0;
    }
    if (m_wall)
        m_wall->SetFullVideo(userId, on);
    RecalcPanes(FALSE);
}

void CMainFrame::EnterFullScreen()
{
    if (m_layout.fullScreenVideo == 1)
        return;
    m_layout.fullScreenWindow = 1;
    GrowOverScreen();
    if (m_restoreBar.m_hWnd)
        m_restoreBar.ShowCentred();
    RecalcPanes(FALSE);
}

void CMainFrame::LeaveFullScreen()
{
    if (m_layout.fullScreenVideo == 1) {
        ShowUserFullScreen(m_wall ? m_wall->GetFullScreenUser() : m_layout.userId, false);
    } else if (m_layout.fullScreenWindow == 1) {
        m_layout.fullScreenWindow = 0;
        RestoreMaximised();
    }
    if (m_restoreBar.m_hWnd)
        m_restoreBar.ShowWindow(SW_HIDE);
    RecalcPanes(FALSE);
}

void CMainFrame::SetSplitMode(uint8_t count)
{
    if (m_layout.fullScreenVideo == 1)
        LeaveFullScreen();
    m_layout.displayMode = DISPLAY_VIDEOS;
    if ((m_layout.split & 0xFF) != count) {
        m_layout.split = count;
        if (m_wall)
            m_wall->SetSplitCount(count);
    }
    RecalcPanes(FALSE);
}

void CMainFrame::SetBigVideoUser(uint32_t userId)
{
    if (m_layout.fullScreenVideo == 1)
        LeaveFullScreen();
    m_layout.displayMode = DISPLAY_VIDEOS;
    m_layout.userId = userId;
    // One video large among the others: the wall's 13-cell layout (marked
    // above the low byte) for a small wall, twelve cells for a larger one.
    const uint8_t split = (uint8_t)(m_layout.split & 0xFF);
    if (split != 6 && split != 12)
        m_layout.split = m_wall && m_wall->GetWindowCount() >= 7 ? 12 : BIG_VIDEO_SPLIT;
    if (m_wall) {
        m_wall->SetSplitCount((uint8_t)(m_layout.split & 0xFF));
        m_wall->SetMainVideo(userId);
    }
    RecalcPanes(FALSE);
}

void CMainFrame::SetFirstVideoUser(uint32_t userId)
{
    if (m_layout.fullScreenVideo == 1)
        LeaveFullScreen();
    m_layout.displayMode = DISPLAY_VIDEOS;
    m_layout.userId = userId;
    if (m_wall)
        m_wall->SetMainVideo(userId);
    RecalcPanes(FALSE);
}

void CMainFrame::ShowDataWindow()
{
    if (m_layout.fullScreenVideo == 1 || m_layout.fullScreenWindow == 1)
        LeaveFullScreen();
    m_layout.split = 0;
    if (m_wall)
        m_wall->SetSplitCount(0);
    m_layout.displayMode = DISPLAY_DATA;
    m_layout.fullScreenWindow = 0;
    RecalcPanes(FALSE);
}

void CMainFrame::ApplyLayoutCode(unsigned code)
{
    static const uint8_t kVideoSplits[] = {4, 6, 8, 9, 12, 16, 25};
    WINDOW_LAYOUT next = m_layout;
    if (code <= 1) {
        next.fullScreenVideo = 0;
        next.fullScreenWindow = 0;
        next.displayMode = code == 0 ? DISPLAY_DATA : DISPLAY_DATA_ONLY;
        next.split = 0;
    } else if (code == 2 || code == 3) {
        next.fullScreenVideo = 0;
        next.fullScreenWindow = 1;
        next.displayMode = code == 2 ? DISPLAY_DATA : DISPLAY_DATA_ONLY;
        if (code == 2)
            next.split = 0;
    } else if (code <= 9) {
        next.fullScreenVideo = 0;
        next.fullScreenWindow = 0;
        next.displayMode = DISPLAY_VIDEOS;
        next.split = kVideoSplits[code - 4];
    } else if (code <= 16) {
        next.fullScreenVideo = 0;
        next.fullScreenWindow = 1;
        next.displayMode = DISPLAY_VIDEOS;
        next.split = kVideoSplits[code - 10];
    } else if (code == 17) {
        next.fullScreenVideo = 0;
        next.fullScreenWindow = 0;
        next.displayMode = DISPLAY_VIDEOS;
        next.split = 25;
    }
    ApplyLayout(next);
}

void CMainFrame::ApplyLayout(const WINDOW_LAYOUT& next)
{
    if (next.fullScreenVideo != m_layout.fullScreenVideo && m_layout.fullScreenVideo == 1)
        ShowUserFullScreen(m_layout.userId, false);
    if (next.fullScreenWindow != m_layout.fullScreenWindow) {
        if (next.fullScreenWindow == 1)
            EnterFullScreen();
        else
            LeaveFullScreen();
    }
    if ((next.split & 0xFF) != (m_layout.split & 0xFF) && m_wall)
        m_wall->SetSplitCount((uint8_t)(next.split & 0xFF));
    if (m_wall)
        m_wall->SetMainVideo(next.userId);
    m_layout = next;
    RecalcPanes(FALSE);
}

void CMainFrame::OnTabFullScreen()
{
    if (!HasLayoutRight())
        return;
    m_savedLayout = m_layout;
    m_layout.displayMode = DISPLAY_DATA_ONLY;
    EnterFullScreen();
}

void CMainFrame::OnTabRestore()
{
    if (!HasLayoutRight())
        return;
    m_layout.displayMode = m_savedLayout.displayMode;
    if (m_layout.fullScreenWindow == 1 || m_layout.fullScreenVideo == 1)
        LeaveFullScreen();
    else
        RecalcPanes(FALSE);
}

void CMainFrame::EnableArrowBar(bool enable)
{
    if (m_arrowBar.m_hWnd)
        m_arrowBar.EnableWindow(enable ? TRUE : FALSE);
}

// ---------------------------------------------------------------- title and state

void CMainFrame::SetMeetingModeText(uint8_t mode)
{
    if (mode == 0)
        m_modeText = LoadText(61652, "自由会议");
    else if (mode == 2)
        m_modeText = LoadText(61653, "主控会议");
    else
        m_modeText.clear();
    BuildTitle();
}

void CMainFrame::SetParticipantCount(int count)
{
    m_countText = std::to_string(count);
    BuildTitle();
}

void CMainFrame::SetConferenceName(const char* name)
{
    m_confName = name ? name : "";
    BuildTitle();
}

void CMainFrame::UpdateTitle()
{
    char name[sizeof m_login->roomName + 1] = {};
    memcpy(name, m_login->roomName, sizeof m_login->roomName);
    m_confName = name;
    m_countText = std::to_string(m_users->GetCount());
    SetMeetingModeText(m_login->meetingMode);
}

void CMainFrame::BuildTitle()
{
    char body[512] = {};
    _snprintf(body, sizeof body - 1, "%s,参与人数%s,会议模式：%s", m_confName.c_str(),
              m_countText.c_str(), m_modeText.c_str());
    std::string title = std::string(kProductCaption) + body;
    const std::string bulletin = GetBulletin();
    if (!bulletin.empty())
        title += "，公告：" + bulletin;
    m_titleText = title;
    // The frame's own title updates use it too.
    SetTitle(title.c_str());
    if (m_hWnd) {
        SetWindowText(title.c_str());
        SendMessage(WM_NCPAINT, 1, 0);
    }
}

std::string CMainFrame::GetBulletin() const
{
    const char* text = reinterpret_cast<const char*>(m_meetingState + MS_BULLETIN);
    return std::string(text, strnlen(text, MS_BULLETIN_SIZE));
}

void CMainFrame::ReplaceMeetingState(const void* record, size_t length)
{
    if (!record || length != MEETING_STATE_SIZE)
        return;
    memcpy(m_meetingState, record, MEETING_STATE_SIZE);
    BuildTitle();
}

void CMainFrame::ShowMessage(const char* text) { ::ShowMessage(text); }

int CMainFrame::AskQuestion(const char* text) { return AskMainWindow(text); }

void CMainFrame::PostClose() { PostMessage(WM_CLOSE); }

void CMainFrame::OnWhiteboardSend(const void* data, size_t length, void* context)
{
    CMainFrame* frame = static_cast<CMainFrame*>(context);
    if (!frame || !data || length == 0 || length > 0xFFFF)
        return;
    frame->m_link->SendWhiteboardData(data, (uint16_t)length);
    frame->m_commands->RecordBoardData(data, length);
}

// ---------------------------------------------------------------- menus

bool CMainFrame::GetCommandState(UINT id, bool* enabled, bool* checked)
{
    USER_INFO own = {};
    const bool haveOwn = m_users->GetUser(m_login->userId, &own);
    const bool chair = m_login->role == 1;
    const bool right = HasLayoutRight();
    const uint8_t split = (uint8_t)(m_layout.split & 0xFF);
    for (const SplitCommand& c : kSplitCommands) {
        if (c.id == id) {
            *enabled = right;
            *checked = split == c.count && (m_layout.fullScreenWindow == 1) == c.fullScreen;
            return true;
        }
    }
    *checked = false;
    if (m_commands->GetCommandState(id, enabled, checked))
        return true;
    switch (id) {
    case ID_CHAIR_MODE:
        *enabled = chair;
        *checked = m_login->meetingMode == 2;
        return true;
    case ID_MEETING_MODE_1:
        *enabled = chair;
        *checked = m_login->meetingMode == 1;
        return true;
    case ID_FREE_MODE:
        *enabled = chair;
        *checked = m_login->meetingMode == 0;
        return true;
    case ID_LOCK_MEETING:
        *enabled = chair;
        *checked = m_meetingLocked != 0;
        return true;
    case ID_REQUEST_CONTROL:
        *enabled = haveOwn && own.role != 3 && own.controlState != 2;
        return true;
    case ID_RELEASE_CONTROL:
        *enabled = haveOwn && own.role != 3 && own.controlState == 2;
        return true;
    case ID_DATA_WINDOW:
        *enabled = haveOwn && own.controlState == 2;
        return true;
    case ID_FORBID_FILES:
        *enabled = chair;
        *checked = ReadU32(m_meetingState + MS_FILES_FORBIDDEN) != 0;
        return true;
    case ID_FORBID_PRIVATE_CHAT:
        *enabled = chair;
        *checked = ReadU32(m_meetingState + MS_PRIVATE_CHAT_FORBIDDEN) != 0;
        return true;
    case ID_MEETING_SETTINGS:
        *enabled = chair;
        return true;
    case ID_PAGE_WHITEBOARD:
    case ID_PAGE_DOCUMENTS:
    case ID_PAGE_BROWSING:
        *enabled = right;
        *checked = m_tab.m_hWnd && m_tab.GetCurPage() == (int)(id - ID_PAGE_WHITEBOARD);
        return true;
    case ID_WINDOW_MODE_1:
    case ID_WINDOW_MODE_2:
    case ID_WINDOW_MODE_3:
    case ID_WINDOW_MODE_4:
        *enabled = right;
        return true;
    default:
        break;
    }
    if (id >= ID_LANGUAGE_FIRST && m_lang && (int)(id - ID_LANGUAGE_FIRST) < m_lang->GetCount()) {
        *enabled = true;
        *checked = (int)(id - ID_LANGUAGE_FIRST) == m_lang->GetCurrentIndex();
        return true;
    }
    return false;
}

CMenu* CMainFrame::PreparePopup(POPUP popup)
{
    CMenu* menu = GetPopup(popup);
    if (!menu)
        return nullptr;
    for (int i = 0; i < (int)menu->GetMenuItemCount(); ++i) {
        const UINT id = menu->GetMenuItemID(i);
        if (id == 0 || id == (UINT)-1)
            continue;
        bool enabled = true, checked = false;
        if (!GetCommandState(id, &enabled, &checked))
            continue;
        menu->EnableMenuItem(id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        menu->CheckMenuItem(id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
    if (popup == POPUP_FILE) {
        // Only the file popup asks for the data control before sending a
        // file; the menu, the left pane's button and the participants list
        // send without it.
        USER_INFO own = {};
        const bool control = m_users->GetUser(m_login->userId, &own) && own.controlState == 2;
        menu->EnableMenuItem(ID_SEND_FILE, MF_BYCOMMAND | (control ? MF_ENABLED : MF_GRAYED));
    }
    return menu;
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nCode == CN_UPDATE_COMMAND_UI && pExtra && !pHandlerInfo) {
        bool enabled = true, checked = false;
        if (GetCommandState(nID, &enabled, &checked)) {
            CCmdUI* ui = static_cast<CCmdUI*>(pExtra);
            ui->Enable(enabled ? TRUE : FALSE);
            ui->SetCheck(checked ? 1 : 0);
            return TRUE;
        }
    }
    if (nCode == CN_COMMAND && m_commands->Handles(nID))
        return pHandlerInfo ? TRUE : (m_commands->OnCommand(nID), TRUE);
    return CMainFrameBase::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------- commands

void CMainFrame::AskExit() { m_commands->AskExit(); }
void CMainFrame::StartRecording() { m_commands->StartRecording(); }
void CMainFrame::StopRecording() { m_commands->StopRecording(); }
bool CMainFrame::IsRecording() const { return m_commands->IsRecording(); }
void CMainFrame::CaptureScreenToFile() { m_commands->CaptureScreenToFile(); }
void CMainFrame::OpenInWhiteboard(const char* path)
{
    m_commands->OpenInWhiteboard(path ? path : "");
}
void CMainFrame::OnCloseButton() { m_commands->AskExit(); }
void CMainFrame::OnMaxRestore() { m_commands->OpenHelp(); }
