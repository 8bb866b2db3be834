#pragma once
#include "IFileSendHost.h"

// The file transfer's host in the running client: the logged-in meeting,
// the file-transfer port of the settings, the client's own file-transfer
// library, the command connection for the offers, the client's boxes, the
// system's file and folder pickers, and the receive folder of the settings.
class CFileClientHost : public IFileSendHost
{
public:
    CFileClientHost();

    CUserTable& Users() override;
    uint32_t OwnUserId() override;
    std::string ServerAddress() override;
    uint16_t FileTransferPort() override;
    uint32_t RoomId() override;
    CPassLibrary& Pass() override;
    HWND MainWindow() override;
    bool SendFileOffer(uint32_t size, uint32_t transferId, const std::string& name,
                       const std::vector<uint32_t>& recipients) override;
    void ShowMessage(const char* text) override;
    bool AskYesNo(const char* text) override;
    bool ChooseFile(CWnd* owner, std::string* path) override;
    bool ChooseRecipients(CFileSendDlg& dlg) override;
    bool ChooseFolder(CWnd* owner, std::string* folder) override;
    std::string GetReceiveFolder() override { return m_receiveFolder; }
    void SetReceiveFolder(const std::string& folder) override { m_receiveFolder = folder; }
    bool Run(const std::string& commandLine) override;

private:
    std::string m_receiveFolder;
};
