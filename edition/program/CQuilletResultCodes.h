#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>

// The server's result codes and the string ids of their texts in this
// edition; a code not in the table has the text of 61475.
class CQuilletResultCodes
{
public:
    enum : UINT { UNKNOWN_RESULT = 61475 };
    static UINT TextId(uint16_t code);
};
