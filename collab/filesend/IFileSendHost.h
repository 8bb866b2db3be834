#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CFileSendDlg;
class CPassLibrary;
class CUserTable;
class CWnd;

// What the file transfer between participants needs of the client: the
// meeting (participants, own id, server, file-transfer port, room), the
// file-transfer library, the announcement on the command connection, the
// boxes and pickers it shows, and the receive folder. Called on the UI
// thread only.
class IFileSendHost
{
public:
    virtual ~IFileSendHost() = default;

    virtual CUserTable& Users() = 0;
    virtual uint32_t OwnUserId() = 0;
    virtual std::string ServerAddress() = 0;
    virtual uint16_t FileTransferPort() = 0;
    virtual uint32_t RoomId() = 0;
    virtual CPassLibrary& Pass() = 0;
    virtual HWND MainWindow() = 0;

    // 2071: the file's size, the transfer id, its name and the recipients.
    virtual bool SendFileOffer(uint32_t size, uint32_t transferId, const std::string& name,
                               const std::vector<uint32_t>& recipients) = 0;

    // An information box; a Yes/No question (true for Yes).
    virtual void ShowMessage(const char* text) = 0;
    virtual bool AskYesNo(const char* text) = 0;
    // The open-file dialog (false on Cancel); the recipients dialog shown
    // modally (true for OK); the folder browser (false when nothing chosen).
    virtual bool ChooseFile(CWnd* owner, std::string* path) = 0;
    virtual bool ChooseRecipients(CFileSendDlg& dlg) = 0;
    virtual bool ChooseFolder(CWnd* owner, std::string* folder) = 0;

    // The folder received files go to (replaced by the one the user picks).
    virtual std::string GetReceiveFolder() = 0;
    virtual void SetReceiveFolder(const std::string& folder) = 0;
    // Runs a command line, shown normally.
    virtual bool Run(const std::string& commandLine) = 0;
};
