#include "CUserListBox.h"

#include <cstring>

#include "CCommandManager.h"
#include "CLanguageManager.h"
#include "IPaneHost.h"
#include "PanesResource.h"
#include "UiFont.h"

namespace {
const char* const kHiddenUser = "tavqe";
const UINT kImageIds[12] = {IDB_USER_ROW,   IDB_ROLE_HOST,       IDB_ROLE_2,        IDB_ROLE_4,
                            IDB_ROLE_OTHER, IDB_CONTROL_ASKED,   IDB_CONTROL_HELD,  IDB_SPEAK_ASKED,
                            IDB_SPEAKING,   IDB_VIDEO_BROADCAST, IDB_VIDEO_PRESENT, 0};
enum {
    IMG_ROW,
    IMG_HOST,
    IMG_ROLE2,
    IMG_ROLE4,
    IMG_ROLE_OTHER,
    IMG_CONTROL_ASKED,
    IMG_CONTROL_HELD,
    IMG_SPEAK_ASKED,
    IMG_SPEAKING,
    IMG_BROADCAST,
    IMG_VIDEO
};

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP bm = {};
    if (bitmap)
        ::GetObject(bitmap, sizeof bm, &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// Draws a bitmap at x, y; height less the given rows.
int DrawImage(HDC dc, HBITMAP bitmap, int x, int y, int shorter = 0)
{
    if (!bitmap)
        return 0;
    const SIZE size = BitmapSize(bitmap);
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(dc, x, y, size.cx, size.cy - shorter, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return size.cx;
}

void SetItem(HMENU menu, UINT id, bool checked, bool greyed)
{
    ::CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | (greyed ? MF_GRAYED : MF_ENABLED));
}
} // namespace

CUserListBox::CUserListBox(const PANE_CONTEXT& context) : m_ctx(context)
{
    m_brush.CreateSolidBrush(0xFEFAFE);
}

CUserListBox::~CUserListBox()
{
    for (HBITMAP& image : m_images)
        if (image) {
            ::DeleteObject(image);
            image = NULL;
        }
}

BOOL CUserListBox::CreateList(CWnd* parent, const RECT& rect, UINT id)
{
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (!CListBox::Create(style, rect, parent, id))
        return FALSE;
    SetItemHeight(0, ITEM_HEIGHT);
    m_menu.LoadMenu(IDR_CHAIR_CONTROL_POPUP);
    m_videoMenu.LoadMenu(IDR_VIDEO_DEVICE_MENU);
    m_dataMenu.LoadMenu(IDR_DATA_CONTROL_MENU);
    TranslateMenus();
    LoadImages();
    return TRUE;
}

void CUserListBox::LoadImages()
{
    HINSTANCE instance = AfxGetResourceHandle();
    for (int i = 0; i < 11; ++i)
        if (!m_images[i])
            m_images[i] = ::LoadBitmap(instance, MAKEINTRESOURCE(kImageIds[i]));
}

void CUserListBox::TranslateMenus()
{
    if (!m_ctx.language)
        return;
    if (m_menu.GetSafeHmenu())
        m_ctx.language->TranslateMenu("ChairControlMenu", m_menu.GetSafeHmenu());
    if (m_dataMenu.GetSafeHmenu())
        m_ctx.language->TranslateMenu("UserControlMenu", m_dataMenu.GetSafeHmenu());
    if (m_videoMenu.GetSafeHmenu())
        m_ctx.language->TranslateMenu("VideoDeviceMenu", m_videoMenu.GetSafeHmenu());
}

int CUserListBox::FindUser(uint32_t userId) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (static_cast<uint32_t>(GetItemData(i)) == userId)
            return i;
    return -1;
}

void CUserListBox::AddUser(uint32_t userId)
{
    USER_INFO user;
    if (!m_ctx.users || !m_ctx.users->GetUser(userId, &user))
        return;
    char name[sizeof user.name + 1] = {};
    memcpy(name, user.name, sizeof user.name);
    if (strcmp(name, kHiddenUser) == 0 || FindUser(userId) >= 0)
        return;
    const uint32_t self = m_ctx.login ? m_ctx.login->userId : 0;
    int position = -1;
    if (userId == self)
        position = 0;
    else {
        const int count = GetCount();
        for (int i = 0; i < count; ++i) {
            const uint32_t other = static_cast<uint32_t>(GetItemData(i));
            if (other == self)
                continue;
            uint8_t role = 0;
            if (!m_ctx.users->GetRole(other, &role) || role > user.role) {
                position = i;
                break;
            }
        }
    }
    const int index = InsertString(position, name);
    if (index >= 0)
        SetItemData(index, userId);
}

void CUserListBox::RemoveUser(uint32_t userId)
{
    const int index = FindUser(userId);
    if (index >= 0)
        DeleteString(index);
}

void CUserListBox::RefreshUser(uint32_t userId)
{
    const int index = FindUser(userId);
    if (index < 0 || !m_ctx.users || !m_ctx.users->FindUser(userId))
        return;
    CRect rect;
    if (GetItemRect(index, &rect) != LB_ERR)
        InvalidateRect(&rect);
}

void CUserListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) { lpMIS->itemHeight = ITEM_HEIGHT; }

void CUserListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS->itemID == static_cast<UINT>(-1) || !m_ctx.users)
        return;
    USER_INFO user;
    if (!m_ctx.users->GetUser(static_cast<uint32_t>(lpDIS->itemData), &user))
        return;
    HDC dc = lpDIS->hDC;
    const RECT& r = lpDIS->rcItem;
    ::FillRect(dc, &r, static_cast<HBRUSH>(m_brush.GetSafeHandle()));
    const SIZE row = BitmapSize(m_images[IMG_ROW]);
    const int left = r.left + ((r.right - r.left) - row.cx) / 2;
    DrawImage(dc, m_images[IMG_ROW], left, r.top);

    HBITMAP role = user.role == 1   ? m_images[IMG_HOST]
                   : user.role == 2 ? m_images[IMG_ROLE2]
                   : user.role == 4 ? m_images[IMG_ROLE4]
                                    : m_images[IMG_ROLE_OTHER];
    const SIZE roleSize = BitmapSize(role);
    const int roleX = left + 6;
    DrawImage(dc, role, roleX, r.top + (ITEM_HEIGHT - roleSize.cy) / 2);

    char name[sizeof user.name + 1] = {};
    memcpy(name, user.name, sizeof user.name);
    const int nameX = roleX + roleSize.cx;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ oldFont = ::SelectObject(dc, GetUiFont()->GetSafeHandle());
    ::TextOutA(dc, nameX, r.top + 5, name, static_cast<int>(strlen(name)));
    ::SelectObject(dc, oldFont);

    int x = nameX + 100;
    const int markWidth = BitmapSize(m_images[IMG_CONTROL_HELD]).cx;
    if (user.controlState == 1 || user.controlState == 2)
        DrawImage(dc, m_images[user.controlState == 1 ? IMG_CONTROL_ASKED : IMG_CONTROL_HELD], x,
                  r.top + 4, 1);
    x += markWidth;
    if (user.speakState == 1 || user.speakState == 2)
        DrawImage(dc, m_images[user.speakState == 1 ? IMG_SPEAK_ASKED : IMG_SPEAKING], x, r.top + 4,
                  1);
    x += markWidth;
    if (user.broadcastFlag)
        DrawImage(dc, m_images[IMG_BROADCAST], x, r.top + 4, 1);
    else if (user.hasVideo)
        DrawImage(dc, m_images[IMG_VIDEO], x, r.top + 4, 1);
}

void CUserListBox::ApplyMenuStates(HMENU menu, const USER_INFO& user, bool self)
{
    const bool holds = user.controlState == 2;
    SetItem(menu, ID_MENU_SPEAK, user.speakState == 2, !user.hasAudio);
    SetItem(menu, ID_MENU_BROADCAST, user.broadcastFlag != 0, !user.hasVideo);
    SetItem(menu, ID_MENU_CONTROL, holds, user.role == 4);
    SetItem(menu, ID_MENU_ALLOW_BOARD, user.allowWhiteboard || holds, holds);
    SetItem(menu, ID_MENU_ALLOW_RECORD, user.allowRecord || holds, holds);
    SetItem(menu, ID_MENU_ALLOW_UPLOAD, user.allowFileUpload || holds, holds);
    SetItem(menu, ID_MENU_ALLOW_CHAT, user.allowTextChat || holds, holds);
    SetItem(menu, ID_MENU_SEND_MESSAGE, false, self);
    SetItem(menu, ID_MENU_SEND_FILE, false, self);
    SetItem(menu, ID_MENU_MAKE_HOST, false, user.role == 1 || self);
    SetItem(menu, ID_MENU_UNMAKE_HOST, false, user.role != 1 || self);
    SetItem(menu, ID_MENU_KICK, false, self);
}

void CUserListBox::OpenHostMenu(CPoint clientPoint)
{
    if (!m_ctx.users || !m_ctx.login)
        return;
    uint8_t ownRole = m_ctx.login->role;
    m_ctx.users->GetRole(m_ctx.login->userId, &ownRole);
    if (ownRole != 1)
        return;
    BOOL outside = TRUE;
    const UINT index = ItemFromPoint(clientPoint, outside);
    if (outside || static_cast<int>(index) >= GetCount())
        return;
    USER_INFO user;
    const uint32_t id = static_cast<uint32_t>(GetItemData(index));
    if (!m_ctx.users->GetUser(id, &user))
        return;
    m_menuUser = id;
    HMENU popup = GetHostMenu();
    if (!popup)
        return;
    ApplyMenuStates(popup, user, id == m_ctx.login->userId);
    CPoint screen = clientPoint;
    ClientToScreen(&screen);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, GetSafeHwnd(),
                     NULL);
}

void CUserListBox::RunMenuCommand(UINT command)
{
    const uint32_t id = m_menuUser;
    CCommandManager* commands = m_ctx.commands;
    if (!commands || !m_ctx.users)
        return;
    USER_INFO user;
    const bool known = m_ctx.users->GetUser(id, &user);
    const bool self = m_ctx.login && id == m_ctx.login->userId;
    switch (command) {
    case ID_MENU_SPEAK:
        if (known && user.hasAudio && user.role != 3)
            commands->SendGrantSpeak(id, user.speakState == 2 ? 0 : 1);
        break;
    case ID_MENU_BROADCAST:
        if (known && user.hasVideo)
            commands->SendVideoBroadcast(id, user.broadcastFlag ? 0 : 1);
        break;
    case ID_MENU_CONTROL:
        if (known && user.role != 3 && user.role != 4)
            commands->SendMeetingControl(id, user.controlState == 2 ? 0 : 1);
        break;
    case ID_MENU_ALLOW_BOARD:
        if (known)
            commands->SendWhiteboardRight(id, user.allowWhiteboard ? 0 : 1);
        break;
    case ID_MENU_ALLOW_RECORD:
        if (known)
            commands->SendRecordRight(id, user.allowRecord ? 0 : 1);
        break;
    case ID_MENU_ALLOW_UPLOAD:
        if (known)
            commands->SendFileUploadRight(id, user.allowFileUpload ? 0 : 1);
        break;
    case ID_MENU_ALLOW_CHAT:
        if (known)
            commands->SendTextChatRight(id, user.allowTextChat ? 0 : 1);
        break;
    case ID_MENU_SEND_MESSAGE:
        if (m_ctx.host)
            m_ctx.host->SelectChatRecipient(id);
        break;
    case ID_MENU_SEND_FILE:
        if (m_ctx.host)
            m_ctx.host->StartFileSend(id);
        break;
    case ID_MENU_MAKE_HOST:
        commands->SendTemporaryHost(id, 1);
        break;
    case ID_MENU_UNMAKE_HOST:
        commands->SendTemporaryHost(id, 2);
        break;
    case ID_MENU_KICK:
        if (!self)
            commands->SendKickUser(id, 10);
        break;
    case ID_MENU_REMOTE_SETTINGS:
        // The dialog itself passes over the own id and strangers.
        if (m_ctx.host)
            m_ctx.host->ShowRemoteSettings(id);
        break;
    default:
        // The chair's "视频一" to "视频二十": the own device here, another
        // participant's through the server.
        if (command >= ID_MENU_VIDEO_FIRST && command < ID_MENU_VIDEO_FIRST + ID_MENU_VIDEO_COUNT &&
            known && m_ctx.login) {
            uint8_t ownRole = m_ctx.login->role;
            m_ctx.users->GetRole(m_ctx.login->userId, &ownRole);
            if (ownRole != 1)
                break;
            const int index = static_cast<int>(command - ID_MENU_VIDEO_FIRST);
            if (self && m_ctx.host)
                m_ctx.host->SelectOwnVideoDevice(index);
            else if (!self)
                commands->SendCommand2105(id, static_cast<uint8_t>(index));
        }
        break;
    }
}

BOOL CUserListBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (lParam == 0 && id >= ID_MENU_VIDEO_FIRST && id <= ID_MENU_ALLOW_CHAT) {
        RunMenuCommand(id);
        return TRUE;
    }
    return CListBox::OnCommand(wParam, lParam);
}

LRESULT CUserListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        if (wParam >= 32 && wParam <= 46)
            return 0;
        break;
    case WM_RBUTTONDOWN:
        OpenHostMenu(
            CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    case WM_LANGUAGE_CHANGED:
        TranslateMenus();
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
