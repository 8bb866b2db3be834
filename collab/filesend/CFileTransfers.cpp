#include "CFileTransfers.h"

#include "afxwin.h"

#include "CFileReceivingDlg.h"
#include "CFileSendDlg.h"
#include "CFileSendingDlg.h"
#include "CUserTable.h"
#include "IFileSendHost.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// The byte positions of the characters of text: a lead byte of the
// program's code page takes its trail byte with it.
std::vector<size_t> CharStarts(const std::string& text)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        starts.push_back(i);
        if (IsDBCSLeadByte((BYTE)text[i]) && i + 1 < text.size())
            ++i;
    }
    return starts;
}

bool IsDeviceName(std::string stem)
{
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return (char)toupper(c); });
    static const char* const kDevices[] = {"CON",    "PRN",     "AUX",   "NUL",
                                           "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* device : kDevices)
        if (stem == device)
            return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

} // namespace

CFileTransfers::~CFileTransfers()
{
    // Each dialog stops its transfer when its window goes.
    for (HWND dialog : m_dialogs)
        if (::IsWindow(dialog))
            ::DestroyWindow(dialog);
}

std::string CFileTransfers::BaseName(const std::string& path)
{
    size_t start = 0;
    for (size_t i : CharStarts(path))
        if (path[i] == '\\')
            start = i + 1;
    return path.substr(start);
}

std::string CFileTransfers::TrimFolder(const std::string& folder)
{
    std::string trimmed = folder;
    // Only a backslash that is a character of its own, not a trail byte.
    while (!trimmed.empty()) {
        const std::vector<size_t> starts = CharStarts(trimmed);
        if (trimmed[starts.back()] != '\\')
            break;
        trimmed.resize(starts.back());
    }
    return trimmed;
}

bool CFileTransfers::SafeFileName(const std::string& offered, std::string* name)
{
    const std::string text(offered.c_str());
    // The last component after any folder or drive part.
    size_t start = 0;
    const std::vector<size_t> starts = CharStarts(text);
    for (size_t i : starts) {
        const unsigned char c = (unsigned char)text[i];
        if (c == '\\' || c == '/' || c == ':')
            start = i + 1;
    }
    std::string base = text.substr(start);
    for (size_t i : CharStarts(base)) {
        const unsigned char c = (unsigned char)base[i];
        if (c < 0x20 || strchr("<>\"|?*", c))
            return false;
    }
    // The file system drops trailing dots and blanks.
    std::string shown = base;
    while (!shown.empty() && (shown.back() == '.' || shown.back() == ' '))
        shown.pop_back();
    if (shown.empty())
        return false;
    if (IsDeviceName(shown.substr(0, shown.find('.'))))
        return false;
    *name = base;
    return true;
}

void CFileTransfers::Track(HWND dialog)
{
    m_dialogs.erase(
        std::remove_if(m_dialogs.begin(), m_dialogs.end(), [](HWND h) { return !::IsWindow(h); }),
        m_dialogs.end());
    m_dialogs.push_back(dialog);
}

std::vector<HWND> CFileTransfers::OpenDialogs()
{
    std::vector<HWND> open;
    for (HWND dialog : m_dialogs)
        if (::IsWindow(dialog))
            open.push_back(dialog);
    return open;
}

int CFileTransfers::StartFileSend(uint32_t preselectedUser)
{
    std::string path;
    if (!m_host->ChooseFile(CWnd::FromHandle(m_host->MainWindow()), &path))
        return 1;
    CFileSendDlg chooser(m_host, path, preselectedUser, CWnd::FromHandle(m_host->MainWindow()));
    if (!m_host->ChooseRecipients(chooser))
        return 1;
    path = chooser.GetPath();
    const std::vector<uint32_t>& recipients = chooser.GetRecipients();

    WIN32_FILE_ATTRIBUTE_DATA status;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &status) ||
        (status.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_host->ShowMessage("无法定位当前发送的文件");
        return 0;
    }
    // The offer counts its recipients in one byte.
    if (recipients.size() > MAX_RECIPIENTS) {
        m_host->ShowMessage("一次最多可以向255个用户发送文件!");
        return 0;
    }

    const std::string fileName = BaseName(path);
    CFileSendingDlg* dialog = new CFileSendingDlg(m_host, fileName);
    if (!dialog->CreateHidden()) {
        delete dialog;
        m_host->ShowMessage("文件发送对象创建失败!");
        return 0;
    }
    const HWND window = dialog->m_hWnd;
    if (!dialog->Start(path))
        return 0; // told and destroyed
    Track(window);
    if (!m_host->SendFileOffer(status.nFileSizeLow, dialog->GetHandle(), fileName, recipients)) {
        // Nobody would hear of the file: the upload is given up.
        dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
        char text[400];
        snprintf(text, sizeof text, "发送文件%s失败!", fileName.c_str());
        m_host->ShowMessage(text);
        return 0;
    }
    dialog->ShowWindow(SW_SHOWNOACTIVATE);
    return 1;
}

void CFileTransfers::StartFileReceive(uint32_t senderId, uint32_t fileSize, uint32_t transferId,
                                      const char* offeredName)
{
    (void)fileSize;
    const std::string offered = offeredName ? offeredName : "";
    std::string name;
    const bool safe = SafeFileName(offered, &name);
    CFileReceivingDlg* dialog = new CFileReceivingDlg(m_host, transferId, safe ? name : offered);
    if (!dialog->CreateHidden()) {
        delete dialog;
        return;
    }
    const HWND window = dialog->m_hWnd;
    Track(window);
    char sender[sizeof(USER_INFO::name) + 1] = {};
    if (!m_host->Users().GetUserName(senderId, sender)) {
        dialog->DestroyWindow();
        return;
    }
    char text[600];
    if (!safe) {
        snprintf(text, sizeof text, "用户%s发送的文件名\"%s\"无效,无法接收!", sender,
                 offered.c_str());
        dialog->DestroyWindow();
        m_host->ShowMessage(text);
        return;
    }
    snprintf(text, sizeof text, "用户%s向你发送了文件%s,是否接收?", sender, name.c_str());
    const bool accepted = m_host->AskYesNo(text);
    if (!::IsWindow(window))
        return;
    if (!accepted) {
        // A refusal sends nothing: the offer is simply dropped.
        dialog->DestroyWindow();
        return;
    }
    std::string folder;
    if (m_host->ChooseFolder(dialog, &folder) && !folder.empty())
        m_host->SetReceiveFolder(folder);
    if (!::IsWindow(window))
        return;
    const std::string target = TrimFolder(m_host->GetReceiveFolder()) + "\\" + name;
    dialog->Start(target);
}

void CFileTransfers::OpenReceiveFolder()
{
    // Quoted, and without a trailing backslash that would escape the quote.
    m_host->Run("Explorer \"" + TrimFolder(m_host->GetReceiveFolder()) + "\"");
}
