#pragma once
#include "IWBFrameHost.h"

// The meeting around the whiteboard of the client program: the logged-in
// participant, the chair, the server connection and the language texts.
class CWBMeetingHost : public IWBFrameHost
{
public:
    bool IsChair() override;
    void RequestPageSync() override;
    std::string ServerAddress() override;
    std::string Text(UINT id, const char* fallback) override;
    bool ChooseMeetingDocument(std::string* path, std::string* name) override;
    bool ChooseFile(bool save, const char* defaultName, const char* filter,
                    std::string* path) override;
};
