#pragma once
// The rest of the client as the shared-document parts see it, recorded.
#include <string>
#include <vector>

#include "CPassLibrary.h"
#include "IDocShareHost.h"
#include "SharedDocRecord.h"

class FakeDocHost : public IDocShareHost
{
public:
    bool controlRight = true;
    bool forbidsUpload = false;
    bool saveChosen = true;
    std::string savePath = "C:\\saved\\file.kqf";
    bool documentChosen = true;
    std::string chosenPath;
    std::string chosenName;
    bool downloadStarts = true;
    bool announceWorks = true;
    std::string programFolder;
    CPassLibrary pass;

    // Every call, one line each.
    std::vector<std::string> calls;
    std::vector<std::string> infos;
    std::vector<std::string> plainMessages;

    bool HasControlRight() override { return controlRight; }
    bool RoomForbidsUpload() override { return forbidsUpload; }
    void SendDocumentDelete(uint32_t id, uint8_t docClass) override
    {
        calls.push_back("delete " + std::to_string(id) + " " + std::to_string(docClass));
    }
    void RequestDocumentList() override { calls.push_back("list"); }
    bool AnnounceDocumentCategory(uint32_t folderId, const char* name, const char* second,
                                  const char* third) override
    {
        calls.push_back("announce " + std::to_string((int)folderId) + " " + name + " " + second +
                        " " + third);
        return announceWorks;
    }
    CPassLibrary& Pass() override { return pass; }
    std::string ServerAddress() override { return "127.0.0.1"; }
    uint16_t FileTransferPort() override { return port; }
    uint32_t RoomId() override { return roomId; }
    std::string ProgramFolder() override { return programFolder; }
    void ShowDataPage(int page) override { calls.push_back("page " + std::to_string(page)); }
    void OpenOnBoard(const char* address) override
    {
        calls.push_back(std::string("board ") + address);
    }
    void OpenInWhiteboard(const SHARED_DOC_RECORD& r) override
    {
        calls.push_back("whiteboard " + std::to_string(r.id) + " " + std::to_string(r.flag) + " " +
                        std::to_string(r.value) + " " + std::to_string(r.valueA) + "x" +
                        std::to_string(r.valueB) + " " + r.name + " " + r.secondName + " " +
                        r.path);
    }
    bool StartDocumentDownload(const char* stored, const char* target) override
    {
        calls.push_back(std::string("download ") + stored + " " + target);
        return downloadStarts;
    }
    void UploadWhiteboardDocument(uint32_t folderId) override
    {
        calls.push_back("wbdoc " + std::to_string((int)folderId));
    }
    void UploadWhiteboardFile() override { calls.push_back("wbfile"); }
    void ShowInfo(const char* text) override { infos.push_back(text); }
    void ShowPlainMessage(const char* text) override { plainMessages.push_back(text); }
    bool ChooseSavePath(const char* title, const char* extension, std::string* path) override
    {
        calls.push_back(std::string("save ") + title + " " + extension);
        if (saveChosen)
            *path = savePath;
        return saveChosen;
    }
    bool ChooseDocument(std::string* path, std::string* name) override
    {
        calls.push_back("properties");
        *path = chosenPath;
        *name = chosenName;
        return documentChosen;
    }

    uint16_t port = 7000;
    uint32_t roomId = 1;
};
