#pragma once
#include <windows.h>

#include <string>

// What the whiteboard frame needs of the meeting around it.
class IWBFrameHost
{
public:
    virtual ~IWBFrameHost() = default;

    // True when the local participant chairs the meeting.
    virtual bool IsChair() = 0;
    // Asks the chair's client to send its current page.
    virtual void RequestPageSync() = 0;
    // The conference server's address, used where a document names none.
    virtual std::string ServerAddress() = 0;
    // A numbered text of the current language, or the fallback.
    virtual std::string Text(UINT id, const char* fallback) = 0;
    // The document-properties choice of a file for the meeting documents:
    // false when the user gave up.
    virtual bool ChooseMeetingDocument(std::string* path, std::string* name) = 0;
    // A file chosen by the user to open, or false.
    virtual bool ChooseFile(bool save, const char* defaultName, const char* filter,
                            std::string* path) = 0;
};
