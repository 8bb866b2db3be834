#pragma once
#include <cstdint>

// What the dispatcher needs of the file transfer between participants.
class IFileReceiver
{
public:
    virtual ~IFileReceiver() = default;

    // A file another participant offers; name is a NUL-terminated copy.
    virtual void StartFileReceive(uint32_t senderId, uint32_t fileSize, uint32_t transferId,
                                  const char* name) = 0;
};
