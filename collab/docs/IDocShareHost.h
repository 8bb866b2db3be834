#pragma once
#include <cstdint>
#include <string>

class CPassLibrary;
struct SHARED_DOC_RECORD;

// What the shared-document lists, the network-disk page and the document
// transfer need of the rest of the client: the user's rights, the server
// connection, the places an item opens in, and the user's boxes.
class IDocShareHost
{
public:
    virtual ~IDocShareHost() = default;

    // The own participant holds the meeting control.
    virtual bool HasControlRight() = 0;
    // The meeting forbids uploading files.
    virtual bool RoomForbidsUpload() = 0;

    // Server commands.
    virtual void SendDocumentDelete(uint32_t id, uint8_t docClass) = 0;
    virtual void RequestDocumentList() = 0;
    // A converted and uploaded presentation file, told to the room.
    virtual bool AnnounceDocumentCategory(uint32_t folderId, const char* name, const char* second,
                                          const char* third) = 0;

    // The file-transfer connection and the program's folder (with its '\\').
    virtual CPassLibrary& Pass() = 0;
    virtual std::string ServerAddress() = 0;
    virtual uint16_t FileTransferPort() = 0;
    virtual uint32_t RoomId() = 0;
    virtual std::string ProgramFolder() = 0;

    // Shows a page of the main window's tab strip (0 whiteboard,
    // 1 presentation board) and the data window where the window shows videos.
    virtual void ShowDataPage(int page) = 0;
    virtual void OpenOnBoard(const char* address) = 0;
    virtual void OpenInWhiteboard(const SHARED_DOC_RECORD& record) = 0;
    // A whiteboard document file fetched into a local file; false when it
    // did not start.
    virtual bool StartDocumentDownload(const char* storedPath, const char* targetPath) = 0;
    // The whiteboard uploads a document as a whiteboard-format document of
    // that folder, or a whiteboard document file.
    virtual void UploadWhiteboardDocument(uint32_t folderId) = 0;
    virtual void UploadWhiteboardFile() = 0;

    // The user: an information box, a plain message box, the save dialog
    // and the document-properties dialog (false: cancelled).
    virtual void ShowInfo(const char* text) = 0;
    virtual void ShowPlainMessage(const char* text) = 0;
    virtual bool ChooseSavePath(const char* title, const char* extension, std::string* path) = 0;
    virtual bool ChooseDocument(std::string* path, std::string* fileName) = 0;
};
