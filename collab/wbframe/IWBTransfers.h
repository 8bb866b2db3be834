#pragma once
#include <windows.h>

#include <string>

class CWnd;

// Told by a running download as page files arrive.
class IWBPageSink
{
public:
    virtual ~IWBPageSink() = default;
    virtual void OnPageArrived(DWORD docId, int page) = 0;
};

// The page pictures of whiteboard documents travelling through the
// server's file store: what the whiteboard frame needs of its transfer list.
class IWBTransfers
{
public:
    virtual ~IWBTransfers() = default;

    // Starts uploading count files of one document; on success uploadFlag
    // and storedName hold what peers need to download it.
    virtual bool StartUpload(DWORD docId, int folder, bool noAnnouncement, const char* name,
                             SIZE pageSize, const char* const* paths, int count, BYTE* uploadFlag,
                             std::string* storedName) = 0;
    // Starts downloading the pages of a document into paths (page i into
    // paths[i]); pages are reported to the sink as they arrive.
    virtual bool StartDownload(const char* server, DWORD docId, BYTE openedHere, BYTE uploadFlag,
                               const char* const* paths, int count, const char* storedName) = 0;
    // Stops the transfer of that document; none running, nothing.
    virtual void CancelUpload(DWORD docId) = 0;
    virtual void CancelDownload(DWORD docId) = 0;
    virtual void StopAll() = 0;
};

// Makes the frame's transfer list; the frame owns what it gets.
typedef IWBTransfers* (*WB_TRANSFERS_FACTORY)(CWnd* frame, IWBPageSink* sink);
