#include <gtest/gtest.h>

#include "WireReader.h"
#include "WireWriter.h"

TEST(Wire, RoundTripLittleEndian)
{
    unsigned char buffer[11];
    WireWriter w(buffer, sizeof buffer);
    ASSERT_TRUE(w.U8(0xAB) && w.U16(0x1234) && w.U32(0xDEADBEEF) && w.I32(-2));
    EXPECT_EQ(buffer[1], 0x34);
    EXPECT_EQ(buffer[2], 0x12);
    EXPECT_EQ(buffer[3], 0xEF);

    WireReader r(buffer, sizeof buffer);
    uint8_t a;
    uint16_t b;
    uint32_t c;
    int32_t d;
    ASSERT_TRUE(r.U8(a) && r.U16(b) && r.U32(c) && r.I32(d));
    EXPECT_EQ(a, 0xAB);
    EXPECT_EQ(b, 0x1234);
    EXPECT_EQ(c, 0xDEADBEEFu);
    EXPECT_EQ(d, -2);
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(Wire, OverrunsFailAndStayFailed)
{
    unsigned char buffer[3] = {1, 2, 3};
    WireReader r(buffer, sizeof buffer);
    uint32_t v = 0;
    EXPECT_FALSE(r.U32(v));
    uint8_t b = 0;
    EXPECT_FALSE(r.U8(b)) << "a failed reader reads nothing more";
    EXPECT_FALSE(r.Ok());

    WireReader skip(buffer, sizeof buffer);
    EXPECT_FALSE(skip.Skip(static_cast<size_t>(-1)));

    WireWriter w(buffer, sizeof buffer);
    EXPECT_FALSE(w.U32(0xFFFFFFFF));
    EXPECT_EQ(buffer[0], 1) << "a write that does not fit writes nothing";

    WireReader none(nullptr, 100);
    EXPECT_FALSE(none.U8(b));
}
