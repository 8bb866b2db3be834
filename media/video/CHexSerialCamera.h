#pragma once
#include "CSerialCamera.h"

#include <string>

// Eleven-byte ASCII requests with a two-digit hex checksum, each answered
// by the camera; every command is sent (no movement flags).
class CHexSerialCamera : public CSerialCamera
{
public:
    ~CHexSerialCamera() override;

    // '*', eight '0' of which the positions 3 to 8 marked in set take the
    // command's bytes, then the checksum of bytes 0 to 8.
    static Frame MakeRequest(const uint8_t command[6], const bool set[6]);
    // The sum of bytes 0 to 8 modulo 256 as two upper-case hex digits.
    static std::string Checksum(const uint8_t* bytes);

    BOOL Left() override;
    BOOL Right() override;
    BOOL Up() override;
    BOOL Down() override;
    BOOL ZoomIn() override;
    BOOL ZoomOut() override;
    BOOL Stop() override;

    // The reply kept from the last request.
    const Frame& GetReply() const { return m_reply; }

protected:
    UINT ControlId() const override { return 99999; }
    void ConfigurePort() override;

private:
    // Sends the request and waits up to 200 ms for the reply.
    BOOL Request(const Frame& request);
    BOOL Command(std::initializer_list<std::pair<int, uint8_t>> bytes);

    Frame m_reply;
};
