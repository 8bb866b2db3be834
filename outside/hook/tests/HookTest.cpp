#include <gtest/gtest.h>

#include "Hook.h"

TEST(HookTest, OneKeyPerWindowComesAndGoes)
{
    HWND window = CreateWindowA("STATIC", "hot", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(AddHotkey(nullptr, VK_F9, 0), 0);
    EXPECT_EQ(AddHotkey(window, 0x100, 0), 0); // only the low byte counts: no key
    ASSERT_NE(AddHotkey(window, VK_F9, 0), 0);
    EXPECT_NE(DeleteHotkey(window, VK_F9, 0), 0);
    EXPECT_EQ(DeleteHotkey(window, VK_F9, 0), 0);
    EXPECT_NE(AddHotkey(window, 0x100 | VK_F9, 0), 0);
    EXPECT_NE(DeleteHotkey(window, VK_F9, 0), 0);
    DestroyWindow(window);
}
