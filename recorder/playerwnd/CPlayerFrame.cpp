#include "CPlayerFrame.h"

#include <cstring>
#include <string>

#include "CPlayChatView.h"
#include "CPlayerBoardFrame.h"
#include "CPlayerTabCtrl.h"
#include "CPlayerVideoWall.h"
#include "CScopedLock.h"
#include "CShareView.h"
#include "PlayerMessages.h"
#include "RecordFormat.h"
#include "WireReader.h"

namespace {

const char kUserPrefix[] = "用户：";

uint32_t Word(const unsigned char* p)
{
    uint32_t v = 0;
    WireReader r(p, 4);
    r.U32(v);
    return v;
}

void Place(HWND wnd, const PlayerChildPlace& place)
{
    if (!wnd)
        return;
    const RECT& rc = place.rect;
    ::MoveWindow(wnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    ::ShowWindow(wnd, place.shown ? SW_SHOW : SW_HIDE);
}

} // namespace

BEGIN_MESSAGE_MAP(CPlayerFrame, CWnd)
    ON_MESSAGE(WM_PLAYER_LAYOUT, OnLayoutMessage)
END_MESSAGE_MAP()

CPlayerFrame::CPlayerFrame(const PlayAudioApi* audioApi) : m_audioApi(audioApi)
{
    InitializeCriticalSection(&m_layoutLock);
}

CPlayerFrame::~CPlayerFrame()
{
    DestroyChildren();
    if (m_hWnd)
        DestroyWindow();
    DeleteCriticalSection(&m_layoutLock);
}

int CPlayerFrame::Build(HWND owner)
{
    if (!owner || !::IsWindow(owner))
        return 0;
    DestroyChildren();
    m_owner = owner;
    {
        CScopedLock lock(&m_layoutLock);
        ::GetClientRect(owner, &m_layout);
    }
    CWnd* parent = CWnd::FromHandle(owner);
    if (!m_hWnd) {
        RECT empty = {0, 0, 0, 0};
        LPCSTR cls = AfxRegisterWndClass(0);
        if (!CWnd::Create(cls, "", WS_CHILD | WS_VISIBLE, empty, parent, ID_FRAME))
            return 0;
        ShowWindow(SW_HIDE);
    }
    m_showVideo = m_showBoard = m_showChat = m_fullVideo = 0;

    RECT start = {0, 0, 800, 600};
    m_tabs = new CPlayerTabCtrl;
    if (!m_tabs->Create(0x50000001, start, parent, ID_TAB_STRIP))
        return 0;
    m_board = new caskel::CWBFrame;
    if (!m_board->CreateBoard(m_tabs, 0)) {
        m_board = nullptr; // a failed frame frees itself
        return 0;
    }
    m_board->SetBackgrounds(m_backgrounds);
    m_tabs->AddPage(m_board->m_hWnd, 0, "白板");
    m_presentation = new CShareView;
    if (!m_presentation->CreateView(m_tabs, ID_PRESENTATION)) {
        m_presentation = nullptr;
        return 0;
    }
    m_tabs->AddPage(m_presentation->m_hWnd, 1, "演讲板");
    m_browsing = new CShareView;
    if (!m_browsing->CreateView(m_tabs, ID_BROWSING)) {
        m_browsing = nullptr;
        return 0;
    }
    m_tabs->AddPage(m_browsing->m_hWnd, 2, "协同浏览");
    m_tabs->SelectPage(0);

    RECT empty = {0, 0, 0, 0};
    m_userList = new CListBox;
    if (!m_userList->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, empty, parent, ID_USER_LIST))
        return 0;
    m_videoWall = new CPlayerVideoWall;
    if (!m_videoWall->Create(parent, ID_VIDEO_WALL))
        return 0;
    m_audio = new CPlayAudioOutput(m_audioApi);
    m_audio->Open();
    m_chat = new CPlayChatView;
    AfxInitRichEdit();
    if (!m_chat->Create(0x50200044, empty, parent, ID_CHAT))
        return 0;
    m_chat->SendMessage(EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    PostLayout();
    return 1;
}

void CPlayerFrame::DestroyChildren()
{
    // The whiteboard and the share views are children of the tab strip and
    // free themselves with their windows: they are only forgotten here.
    m_board = nullptr;
    m_presentation = nullptr;
    m_browsing = nullptr;
    if (m_tabs) {
        if (m_tabs->m_hWnd)
            m_tabs->DestroyWindow();
        delete m_tabs;
        m_tabs = nullptr;
    }
    if (m_userList) {
        if (m_userList->m_hWnd)
            m_userList->DestroyWindow();
        delete m_userList;
        m_userList = nullptr;
    }
    if (m_videoWall) {
        if (m_videoWall->m_hWnd)
            m_videoWall->DestroyWindow();
        delete m_videoWall;
        m_videoWall = nullptr;
    }
    if (m_audio) {
        m_audio->Close();
        delete m_audio;
        m_audio = nullptr;
    }
    if (m_chat) {
        if (m_chat->m_hWnd)
            m_chat->DestroyWindow();
        delete m_chat;
        m_chat = nullptr;
    }
}

void CPlayerFrame::PostLayout()
{
    if (m_hWnd)
        ::PostMessageA(m_hWnd, WM_PLAYER_LAYOUT, 0, 0);
}

int CPlayerFrame::SetLayoutRect(int left, int top, int right, int bottom)
{
    {
        CScopedLock lock(&m_layoutLock);
        m_layout = {left, top, right, bottom};
    }
    PostLayout();
    return 1;
}

PlayerFrameFlags CPlayerFrame::GetFlags() const
{
    return PlayerFrameFlags{m_showVideo != 0, m_showBoard != 0, m_showChat != 0, m_fullVideo != 0};
}

void CPlayerFrame::LayOut()
{
    RECT area;
    {
        CScopedLock lock(&m_layoutLock);
        area = m_layout;
    }
    PlayerFrameLayout layout = LayOutPlayerFrame(area, GetFlags());
    Place(m_userList ? m_userList->m_hWnd : nullptr, layout.userList);
    Place(m_tabs ? m_tabs->m_hWnd : nullptr, layout.tabStrip);
    Place(m_chat ? m_chat->m_hWnd : nullptr, layout.chatPane);
    Place(m_videoWall ? m_videoWall->m_hWnd : nullptr, layout.videoWall);
}

LRESULT CPlayerFrame::OnLayoutMessage(WPARAM, LPARAM)
{
    LayOut();
    return 0;
}

void CPlayerFrame::Clear()
{
    if (m_videoWall)
        m_videoWall->RemoveAll();
    if (m_board && m_board->m_hWnd)
        ::SendMessageA(m_board->m_hWnd, WM_PLAY_BOARDCLEAR, 0, 0);
    if (m_chat)
        m_chat->ClearAll();
    // The records from the start name every participant again, and start
    // every replayed audio source again.
    if (m_userList && m_userList->m_hWnd)
        m_userList->SendMessage(LB_RESETCONTENT);
    if (m_audio)
        m_audio->RemoveAllSources();
    m_fullVideo = 0;
    m_showVideo = m_showBoard = m_showChat = 1;
    PostLayout();
}

void CPlayerFrame::SetPlaybackTap(bool on)
{
    if (m_audio)
        m_audio->SetTap(on);
}

int CPlayerFrame::OnAudioRecord(const unsigned char* record, uint32_t length)
{
    if (!m_audio || !record || length <= 4)
        return 0;
    m_audio->Write(Word(record), record + 4, static_cast<int>(length - 4));
    return 1;
}

int CPlayerFrame::OnVideoRecord(const unsigned char* record, uint32_t length)
{
    if (!m_videoWall || !record || length <= 4)
        return 0;
    m_videoWall->RenderFrame(Word(record), record + 4, static_cast<int>(length - 4));
    return 1;
}

void CPlayerFrame::SetBoardBackgrounds(caskel::IBoardBackgrounds* backgrounds)
{
    m_backgrounds = backgrounds;
    if (m_board)
        m_board->SetBackgrounds(backgrounds);
}

int CPlayerFrame::OnBoardRecord(const unsigned char* record, uint32_t length)
{
    if (!m_board || !m_board->m_hWnd || !record || length == 0)
        return 0;
    ::SendMessageA(m_board->m_hWnd, WM_PLAY_BOARDDATA, reinterpret_cast<WPARAM>(record),
                   static_cast<LPARAM>(length));
    return 1;
}

int CPlayerFrame::OnCommandRecord(const unsigned char* record, uint32_t length)
{
    if (!record || length < 2 || !m_videoWall || !m_audio)
        return 0;
    const uint8_t code = record[0];
    // Every command with an id carries it whole; a shorter record is not
    // acted on.
    const bool hasId = length >= 5;
    const uint32_t id = hasId ? Word(record + 1) : 0;
    switch (code) {
    case REC_LAYOUT_ADD_VIDEO:
        if (hasId)
            m_videoWall->AddVideo(id);
        break;
    case REC_LAYOUT_DEL_VIDEO:
        if (hasId)
            m_videoWall->DelVideo(id);
        break;
    case REC_LAYOUT_FLOAT_VIDEO:
        break;
    case REC_LAYOUT_MAIN_VIDEO:
        if (hasId)
            m_videoWall->MainVideo(id);
        break;
    case REC_LAYOUT_FULL_VIDEO:
        if (length == 6 && m_videoWall->FullVideo(id, record[5]))
            m_fullVideo = record[5] ? 1 : 0;
        break;
    case REC_LAYOUT_SWAP_VIDEO:
        if (length >= 9)
            m_videoWall->SwapVideo(id, Word(record + 5));
        break;
    case REC_LAYOUT_LAST_VIDEO:
        if (hasId)
            m_videoWall->LastVideo(id);
        break;
    case REC_LAYOUT_SPLIT_MODE:
        if (length == 2) {
            m_showBoard = 0;
            m_showChat = 0;
            m_showVideo = 1;
            m_videoWall->SetSplit(record[1], true);
        }
        break;
    case REC_LAYOUT_SHOW_VIDEO:
        if (length == 2 && m_showVideo != record[1])
            m_showVideo = m_showVideo ? 0 : 1;
        break;
    case REC_LAYOUT_SHOW_BOARD:
        if (length == 2 && m_showBoard != record[1]) {
            m_showBoard = m_showBoard ? 0 : 1;
            if (!m_showBoard)
                m_showChat = 0;
            else
                m_videoWall->SetSplit(0, true);
        }
        break;
    case REC_LAYOUT_SHOW_CHAT:
        if (length == 2 && m_showChat != record[1])
            m_showChat = m_showChat ? 0 : 1;
        break;
    case REC_LAYOUT_ADD_AUDIO:
        if (hasId)
            m_audio->AddSource(id);
        break;
    case REC_LAYOUT_DEL_AUDIO:
        if (hasId)
            m_audio->RemoveSource(id);
        break;
    default:
        break;
    }
    PostLayout();
    return 1;
}

int CPlayerFrame::OnChatRecord(const unsigned char* record, uint32_t length)
{
    if (!record || length < 4)
        return 0;
    const uint32_t kind = Word(record);
    // The text ends at its terminator or at the end of the record.
    const char* text = reinterpret_cast<const char*>(record + 4);
    const std::string line(text, strnlen(text, length - 4));
    switch (kind) {
    case REC_CHAT_LINE:
        if (m_chat)
            m_chat->Append(line.c_str(), RGB(0, 0, 0));
        break;
    case REC_CHAT_USER_JOINED:
        if (m_userList && m_userList->m_hWnd)
            m_userList->SendMessage(LB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>((kUserPrefix + line).c_str()));
        break;
    case REC_CHAT_USER_LEFT:
        if (m_userList && m_userList->m_hWnd) {
            const std::string entry = kUserPrefix + line;
            const int count = static_cast<int>(m_userList->SendMessage(LB_GETCOUNT));
            for (int i = 0; i < count; ++i) {
                const int n = static_cast<int>(m_userList->SendMessage(LB_GETTEXTLEN, i));
                if (n != static_cast<int>(entry.size()))
                    continue;
                std::string item(n + 1, '\0');
                m_userList->SendMessage(LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
                item.resize(n);
                if (item == entry) {
                    m_userList->SendMessage(LB_DELETESTRING, i);
                    break;
                }
            }
        }
        break;
    case REC_CHAT_BOARD_ADDRESS:
        if (m_presentation)
            m_presentation->PostNavigate(line.c_str());
        break;
    case REC_CHAT_BROWSE_ADDRESS:
        if (m_browsing)
            m_browsing->PostNavigate(line.c_str());
        break;
    default:
        break;
    }
    return 1;
}
