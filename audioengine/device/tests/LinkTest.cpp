#include <gtest/gtest.h>

#include "RavoT.h"

// A caller that links RavoT's import library, as the recorder does: the
// names in its code bind to the ordinals at load time.
TEST(RavoTLink, NamesInTheCallerBindToTheOrdinals)
{
    EXPECT_EQ(0, SONVEX_GetEncodeFormatCount()); // no manager yet
    ASSERT_EQ(1, SONVEX_Init(0));
    EXPECT_EQ(5, SONVEX_GetEncodeFormatCount());
    EXPECT_EQ(5, SONVEX_GetFECModeCount());
    char name[32];
    EXPECT_EQ(13, SONVEX_GetEncodeFormatName(4, name, sizeof(name)));
    EXPECT_STREQ("G7221,32 kbps", name);
    EXPECT_EQ(1, SONVEX_Release());
}
