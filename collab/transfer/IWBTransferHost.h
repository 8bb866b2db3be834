#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class CPassLibrary;

// What a whiteboard document on its way to the uploader's store needs to
// announce as a shared-document item.
struct WB_UPLOADED_DOCUMENT
{
    uint32_t folder = 0;
    uint8_t uploadFlag = 0;
    uint16_t pageCount = 0;
    uint32_t pageWidth = 0;
    uint32_t pageHeight = 0;
    std::string name;
    std::string storedName;
};

// The whiteboard frame's side of the document transfers: the connection
// they use, where a page that arrived goes, and how the user is told.
class IWBTransferHost
{
public:
    virtual ~IWBTransferHost() = default;

    virtual CPassLibrary& Pass() = 0;
    virtual std::string ServerAddress() = 0;
    virtual uint16_t FileTransferPort() = 0;
    virtual uint32_t RoomId() = 0;
    // The window the progress dialogs are placed just behind (may be null).
    virtual HWND MainWindow() = 0;

    // The page file of that page of the document is complete on disk.
    virtual void OnPageArrived(uint32_t documentId, int pageIndex) = 0;
    // Tells the room of an uploaded document (a shared-document item).
    virtual void AnnounceDocument(const WB_UPLOADED_DOCUMENT& document) = 0;
    // An information box with this text.
    virtual void ShowMessage(const char* text) = 0;
};
