#include "CDlgChat.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "CCommandManager.h"
#include "CUserTable.h"
#include "IPaneHost.h"
#include "MeetingState.h"
#include "PaneText.h"
#include "PanesResource.h"

namespace {
const char* const kHiddenUser = "tavqe";
const char* const kFaces[] = {"宋体", "隶书", "幼圆"};
const char* const kSizes[] = {"10", "14", "16", "18", "20"};
const COLORREF kBackground = 0xFFE1CA;
const COLORREF kNoticeColour = 0xFF0000;
const int kNoticeWidth = 148;
const UINT ID_YOU = 61477;
const UINT ID_EVERYONE = 61478;
const UINT ID_LINE_FORMAT = 61479;

std::string FormatLine(const std::string& format, const char* a, const char* b, const char* c)
{
    const int n = snprintf(nullptr, 0, format.c_str(), a, b, c);
    if (n <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    snprintf(buffer.data(), buffer.size(), format.c_str(), a, b, c);
    return std::string(buffer.data(), static_cast<size_t>(n));
}

// Appends text at the end of a rich edit, formats it and scrolls one line.
void InsertFormatted(CRichEditCtrl& edit, const std::string& text, CHARFORMATA& format)
{
    // The panes are read-only for the user; the program writes to them.
    edit.SetReadOnly(FALSE);
    edit.SetSel(-1, -1);
    long start = 0, end = 0;
    edit.GetSel(start, end);
    edit.ReplaceSel(text.c_str());
    long stop = 0, stop2 = 0;
    edit.GetSel(stop, stop2);
    edit.SetSel(start, stop2);
    edit.SetSelectionCharFormat(format);
    edit.HideSelection(TRUE, FALSE);
    edit.SetReadOnly(TRUE);
    edit.LineScroll(1);
}
} // namespace

CDlgChat* CDlgChat::s_loadTarget = nullptr;

BEGIN_MESSAGE_MAP(CDlgChat, CLangDialog)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_CHAT_SEND, OnSendClicked)
END_MESSAGE_MAP()

CDlgChat::CDlgChat(const PANE_CONTEXT& context, CWnd* parent)
    : CLangDialog(IDD, "CDlgChat", parent), m_ctx(context)
{
    srand(static_cast<unsigned>(time(nullptr)));
    for (int i = 0; i < 3; ++i)
        rand();
    m_background.CreateSolidBrush(kBackground);
}

CDlgChat::~CDlgChat()
{
    if (s_loadTarget == this) {
        s_loadTarget = nullptr;
        CCpuMeter::SetLoadSink(nullptr);
    }
}

BOOL CDlgChat::CreatePane(CWnd* parent) { return Create(IDD, parent); }

BOOL CDlgChat::OnInitDialog()
{
    CLangDialog::OnInitDialog();
    m_lineFormat = PaneFormat(m_ctx.language, ID_LINE_FORMAT);

    const DWORD richStyle =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
    m_history.Create(richStyle, CRect(0, 0, 100, 100), this, IDC_CHAT_HISTORY);
    m_notices.Create(richStyle, CRect(100, 0, 200, 100), this, IDC_CHAT_NOTICES);
    m_history.LimitText(0x7FFFFFFF);
    m_notices.LimitText(0x7FFFFFFF);

    m_input.SubclassDlgItem(IDC_CHAT_INPUT, this);
    m_input.LimitText(1000);
    m_send.SubclassDlgItem(IDC_CHAT_SEND, this);
    m_recipients.SubclassDlgItem(IDC_CHAT_RECIPIENT, this);
    m_recipients.SetItemHeight(-1, 14);
    m_recipients.SetItemHeight(0, 17);
    m_colour.SubclassDlgItem(IDC_CHAT_COLOUR, this);
    m_colour.SetColor(RGB(0, 0, 0));
    m_face.SubclassDlgItem(IDC_CHAT_FACE, this);
    for (const char* face : kFaces)
        m_face.AddString(face);
    m_face.SetCurSel(0);
    m_size.SubclassDlgItem(IDC_CHAT_SIZE, this);
    for (const char* size : kSizes)
        m_size.AddString(size);
    m_size.SetCurSel(0);
    m_statusButton.SubclassDlgItem(IDC_CHAT_STATUS, this);
    m_statusButton.SetBitmapStrip("Skins\\mesg.bmp", TRUE);

    m_cpu.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 70, 20), this, IDC_CHAT_CPU);
    m_cpu.SetInterval(3000);
    s_loadTarget = this;
    CCpuMeter::SetLoadSink(&CDlgChat::LoadSink);

    m_bar.LoadFromFile("Skins\\ChatBottomBar.bmp", 5, 10, TRUE);

    FillRecipients();
    UpdateStatus();
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
    return TRUE;
}

void CDlgChat::LoadSink(int load)
{
    if (s_loadTarget && s_loadTarget->GetSafeHwnd())
        s_loadTarget->SetCpuUsage(load);
}

BOOL CDlgChat::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CLangDialog::PreTranslateMessage(pMsg);
}

void CDlgChat::OnSendClicked() { OnSend(); }

void CDlgChat::OnSend()
{
    USER_INFO own;
    if (!m_ctx.users || !m_ctx.login || !m_ctx.users->GetUser(m_ctx.login->userId, &own))
        return;
    if (!own.allowTextChat) {
        PaneMessage(GetSafeHwnd(), "主持人禁止了你的发言!");
        return;
    }
    const int selected = m_recipients.GetCurSel();
    if (m_ctx.host && m_ctx.host->GetMeetingState().noPrivateChat && selected > 0) {
        PaneMessage(GetSafeHwnd(), "系统禁止私聊!");
        m_recipients.SetCurSel(0);
        return;
    }
    CString input;
    m_input.GetWindowText(input);
    if (input.IsEmpty()) {
        m_input.SetFocus();
        return;
    }
    if (selected < 0)
        return;
    const std::string text(static_cast<LPCSTR>(input), input.GetLength());
    if (text.size() > CChatMessage::MAX_TEXT) {
        PaneMessage(GetSafeHwnd(), "发言字数太长！");
        return;
    }

    const uint32_t recipient = static_cast<uint32_t>(m_recipients.GetItemData(selected));
    CHAT_LINE line;
    line.privateFlag = (recipient != 0 && IsDlgButtonChecked(IDC_CHAT_WHISPER)) ? 1 : 0;
    CString face, size, recipientName;
    m_face.GetWindowText(face);
    m_size.GetWindowText(size);
    m_recipients.GetLBText(selected, recipientName);
    line.face = CChatMessage::FitFace(static_cast<LPCSTR>(face));
    line.fontSize = static_cast<uint32_t>(strtoul(static_cast<LPCSTR>(size), nullptr, 10));
    line.text = text;
    const COLORREF colour = m_colour.GetColor();
    const std::vector<uint8_t> payload = CChatMessage::Build(line);
    if (m_ctx.commands)
        m_ctx.commands->SendChat(recipient, colour, payload.data(),
                                 static_cast<uint16_t>(payload.size()));

    AppendChatLine(PaneText(m_ctx.language, ID_YOU).c_str(), static_cast<LPCSTR>(recipientName),
                   text.c_str(), colour, line.face.c_str(), static_cast<int>(line.fontSize));
    m_input.SetWindowText("");
    m_input.SetFocus();
}

void CDlgChat::OnChatReceived(uint32_t recipientId, uint32_t senderId, uint32_t colour,
                              const char* payload, size_t length)
{
    if (!m_ctx.users)
        return;
    char sender[sizeof(USER_INFO::name) + 1] = {};
    if (!m_ctx.users->GetUserName(senderId, sender))
        return;
    std::string recipient;
    if (recipientId == 0) {
        recipient = PaneText(m_ctx.language, ID_EVERYONE).substr(0, 20);
    } else {
        char name[sizeof(USER_INFO::name) + 1] = {};
        if (!m_ctx.users->GetUserName(recipientId, name))
            return;
        recipient = name;
    }
    CHAT_LINE line;
    if (!CChatMessage::Parse(payload, length, line))
        return;
    AppendChatLine(sender, recipient.c_str(), line.text.c_str(), colour, line.face.c_str(),
                   static_cast<int>(line.fontSize));
}

void CDlgChat::AppendChatLine(const char* sender, const char* recipient, const char* text,
                              COLORREF colour, const char* face, int size)
{
    const std::string line = FormatLine(m_lineFormat, sender ? sender : "",
                                        recipient ? recipient : "", text ? text : "") +
                             "\r\n";
    if (m_ctx.host && m_ctx.host->IsRecording())
        m_ctx.host->WriteChatLine(line.c_str());
    if (!m_history.GetSafeHwnd())
        return;
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BOLD | CFM_UNDERLINE;
    format.dwEffects = 0;
    format.yHeight = size * 20;
    format.crTextColor = colour;
    lstrcpynA(format.szFaceName, face ? face : "", LF_FACESIZE);
    InsertFormatted(m_history, line, format);
}

void CDlgChat::AddNotice(const char* text)
{
    if (!m_notices.GetSafeHwnd())
        return;
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BOLD | CFM_UNDERLINE;
    format.crTextColor = kNoticeColour;
    InsertFormatted(m_notices, std::string(text ? text : "") + "\r\n", format);
}

void CDlgChat::FillRecipients()
{
    if (!m_recipients.GetSafeHwnd())
        return;
    m_recipients.ResetContent();
    if (m_ctx.users) {
        const int count = m_ctx.users->GetCount();
        for (int i = 0; i < count; ++i) {
            USER_INFO user;
            if (!m_ctx.users->GetUserAt(i, &user) ||
                (m_ctx.login && user.userId == m_ctx.login->userId))
                continue;
            char name[sizeof user.name + 1] = {};
            memcpy(name, user.name, sizeof user.name);
            const int index = m_recipients.AddString(name);
            m_recipients.SetItemData(index, user.userId);
        }
    }
    m_recipients.InsertString(0, PaneText(m_ctx.language, ID_EVERYONE).c_str());
    m_recipients.SetItemData(0, 0);
    m_recipients.SetCurSel(0);
}

int CDlgChat::FindRecipient(uint32_t userId)
{
    const int count = m_recipients.GetCount();
    for (int i = 0; i < count; ++i)
        if (static_cast<uint32_t>(m_recipients.GetItemData(i)) == userId)
            return i;
    return -1;
}

void CDlgChat::AddRecipient(uint32_t userId)
{
    if (!m_ctx.users || !m_recipients.GetSafeHwnd())
        return;
    char name[sizeof(USER_INFO::name) + 1] = {};
    if (!m_ctx.users->GetUserName(userId, name) || strcmp(name, kHiddenUser) == 0)
        return;
    const int index = m_recipients.AddString(name);
    m_recipients.SetItemData(index, userId);
}

void CDlgChat::RemoveRecipient(uint32_t userId)
{
    if (!m_recipients.GetSafeHwnd() || userId == 0)
        return;
    const int index = FindRecipient(userId);
    if (index < 0)
        return;
    if (m_recipients.GetCurSel() == index)
        m_recipients.SetCurSel(0);
    m_recipients.DeleteString(index);
}

void CDlgChat::SelectRecipient(uint32_t userId)
{
    if (!m_recipients.GetSafeHwnd())
        return;
    const int index = FindRecipient(userId);
    if (index >= 0)
        m_recipients.SetCurSel(index);
    m_input.SetFocus();
}

void CDlgChat::SelectEveryone()
{
    if (m_recipients.GetSafeHwnd() && m_recipients.GetCount() > 0)
        m_recipients.SetCurSel(0);
}

void CDlgChat::SetCpuUsage(int percent)
{
    m_cpuLoad = static_cast<uint32_t>(percent);
    UpdateStatus();
}

void CDlgChat::UpdateStatus()
{
    const int rate = m_ctx.host ? m_ctx.host->GetVideoBitRate() : 0;
    char text[128];
    snprintf(text, sizeof text, "系统码流:%dkbps, 当前系统cpu:%d%%", rate,
             static_cast<int>(m_cpuLoad));
    m_status = text;
    if (m_statusButton.GetSafeHwnd())
        m_statusButton.SetWindowText(text);
}

void CDlgChat::TranslateTexts(BOOL apply)
{
    CLangDialog::TranslateTexts(apply);
    m_lineFormat = PaneFormat(m_ctx.language, ID_LINE_FORMAT);
    if (m_recipients.GetSafeHwnd() && m_recipients.GetCount() > 0) {
        const int selected = m_recipients.GetCurSel();
        m_recipients.DeleteString(0);
        m_recipients.InsertString(0, PaneText(m_ctx.language, ID_EVERYONE).c_str());
        m_recipients.SetItemData(0, 0);
        m_recipients.SetCurSel(selected < 0 ? 0 : selected);
    }
    UpdateStatus();
}

void CDlgChat::OnSize(UINT nType, int cx, int cy)
{
    CLangDialog::OnSize(nType, cx, cy);
    Layout(cx, cy);
}

void CDlgChat::Layout(int cx, int cy)
{
    if (!m_history.GetSafeHwnd())
        return;
    const int bar = m_bar.GetHeight() > 0 ? m_bar.GetHeight() : 50;
    const int top = cy - bar;
    m_history.MoveWindow(0, 0, cx > 150 ? cx - 150 : 0, top > 0 ? top : 0);
    m_notices.MoveWindow(cx - kNoticeWidth, 0, kNoticeWidth, top > 0 ? top : 0);
    struct Place
    {
        UINT id;
        int width;
    };
    const Place row[] = {
        {IDC_CHAT_RECIPIENT, 80},  {IDC_CHAT_COLOUR, 20},  {IDC_CHAT_WHISPER, 65},
        {IDC_CHAT_FACE_LABEL, 30}, {IDC_CHAT_FACE, 60},    {IDC_CHAT_SIZE_LABEL, 55},
        {IDC_CHAT_SIZE, 35},       {IDC_CHAT_STATUS, 300}, {IDC_CHAT_CPU, 70}};
    int x = 2;
    for (const Place& place : row) {
        CWnd* child = GetDlgItem(place.id);
        if (child)
            child->MoveWindow(x, top + 3, place.width,
                              place.id == IDC_CHAT_RECIPIENT || place.id == IDC_CHAT_FACE ||
                                      place.id == IDC_CHAT_SIZE
                                  ? 120
                                  : 18);
        x += place.width + 4;
    }
    const int inputTop = top + 25;
    m_input.MoveWindow(2, inputTop, cx > 56 ? cx - 56 : 0, 20);
    m_send.MoveWindow(cx - 52, inputTop, 50, 20);
}

void CDlgChat::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int bar = m_bar.GetHeight() > 0 ? m_bar.GetHeight() : 50;
    if (m_bar.GetHeight() > 0)
        m_bar.Draw(&dc, 0, client.bottom - bar, client.Width(), bar);
    else
        dc.FillSolidRect(0, client.bottom - bar, client.Width(), bar, kBackground);
}

HBRUSH CDlgChat::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(m_background.GetSafeHandle());
    }
    return CLangDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
