#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RCShareBlock.h"

TEST(RCShareBlock, FieldsLandAtTheirOffsetsLittleEndian)
{
    unsigned char bytes[sizeof(RC_SHARE_BLOCK)] = {};
    CRCShareBlock block(bytes);
    block.SetU32(RC_OFF_ROOM_ID, 0x01020304);
    block.SetU16(RC_OFF_SERVER_PORT, 0x1B5A);
    block.SetU8(RC_OFF_SCALED, 1);
    block.SetU32(RC_OFF_STATUS, 9);
    EXPECT_EQ(0x04, bytes[36]);
    EXPECT_EQ(0x01, bytes[39]);
    EXPECT_EQ(0x5A, bytes[32]);
    EXPECT_EQ(0x1B, bytes[33]);
    EXPECT_EQ(1, bytes[50]);
    EXPECT_EQ(9, bytes[68]);
    EXPECT_EQ(0x01020304u, block.U32(RC_OFF_ROOM_ID));
    EXPECT_EQ(9u, block.U32(RC_OFF_STATUS));
}

TEST(RCShareBlock, TextsStayInsideTheirFields)
{
    struct Case
    {
        const char* given;
        const char* kept;
    } cases[] = {
        {"192.168.100.200", "192.168.100.200"},  // 15: fits with its terminator
        {"192.168.100.2001", "192.168.100.200"}, // 16: cut
        {"a-very-long-host-name.example", "a-very-long-hos"},
        {"", ""},
    };
    for (const Case& c : cases) {
        unsigned char bytes[sizeof(RC_SHARE_BLOCK)];
        memset(bytes, 0xAB, sizeof bytes);
        CRCShareBlock block(bytes);
        block.SetServerAddress(c.given);
        EXPECT_EQ(c.kept, block.GetServerAddress()) << c.given;
        EXPECT_EQ(0, bytes[31]) << c.given;    // always terminated
        EXPECT_EQ(0xAB, bytes[32]) << c.given; // the port is untouched
    }
    unsigned char bytes[sizeof(RC_SHARE_BLOCK)];
    memset(bytes, 0xAB, sizeof bytes);
    CRCShareBlock block(bytes);
    block.SetErrorText(std::string(400, 'x').c_str());
    EXPECT_EQ(std::string(255, 'x'), block.GetErrorText());
    EXPECT_EQ(0, bytes[sizeof bytes - 1]);
}

TEST(RCShareBlock, ACommandIsTakenOnceAndAnUnmappedBlockReadsZero)
{
    alignas(4) unsigned char bytes[sizeof(RC_SHARE_BLOCK)] = {};
    CRCShareBlock block(bytes);
    block.SetU32(RC_OFF_COMMAND, RC_CMD_VIEW);
    EXPECT_EQ(RC_CMD_VIEW, block.TakeCommand());
    EXPECT_EQ(0u, block.TakeCommand());

    CRCShareBlock none;
    none.SetU32(RC_OFF_COMMAND, 5);
    EXPECT_EQ(0u, none.U32(RC_OFF_COMMAND));
    EXPECT_EQ("", none.GetServerAddress());
    EXPECT_EQ(0u, none.TakeCommand());
    EXPECT_EQ("QuilletRCShareMem1234", CRCShareBlock::MakeName(1234));
}
