#pragma once
#include <cstdint>

// How the web pages' leader reaches the others: one relayed payload of
// records (the main window's relay command).
class IWebLink
{
public:
    virtual ~IWebLink() = default;
    // The largest payload one relay carries.
    enum : uint16_t { MAX_PAYLOAD = 32764 };
    virtual bool SendRelay(const void* data, uint16_t length) = 0;
};
