// The recorder library as the clients bind it: by name, through
// GetProcAddress, with the C calling convention.
#include <gtest/gtest.h>

#include <windows.h>

#include "CString.h"
#include "RecordingFixture.h"

namespace {

const char* const kRecorderExports[23] = {
    "RV_StartRecord",  "RV_WriteAudioData",   "RV_WriteVideoData", "RV_WriteBoardData",
    "RV_WriteFile",    "RV_WriteCommadnData", "RV_WriteChatData",  "RV_StopRecord",
    "RV_AddVideo",     "RV_DelVideo",         "RV_FloatVideo",     "RV_FullVideo",
    "RV_MainVideo",    "RV_LastVideo",        "RV_SwapVideo",      "RV_ShowVideoWnd",
    "RV_ShowBoardWnd", "RV_ShowChatWnd",      "RV_SplitVideoWnd",  "RV_GetErrorMsg",
    "RV_ResetError",   "RV_AddAudio",         "RV_DelAudio",
};

class CaskelLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA("Caskel.dll");
        ASSERT_NE(nullptr, m_module) << GetLastError();
    }
    void TearDown() override
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    template <typename F>
    F Bind(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }
    HMODULE m_module = nullptr;
};

TEST_F(CaskelLibrary, ExportsEveryRecorderNameAtItsOrdinal)
{
    for (int i = 0; i < 23; ++i) {
        FARPROC byName = GetProcAddress(m_module, kRecorderExports[i]);
        EXPECT_NE(nullptr, byName) << kRecorderExports[i];
        EXPECT_EQ(byName, GetProcAddress(m_module, MAKEINTRESOURCEA(i + 1))) << kRecorderExports[i];
    }
    EXPECT_EQ(nullptr, GetProcAddress(m_module, "RV_WriteCommandData"));
}

TEST_F(CaskelLibrary, RecordsThroughTheBoundNames)
{
    auto start = Bind<int (*)(const char*, const char*)>("RV_StartRecord");
    auto audio = Bind<int (*)(const void*, int, uint32_t)>("RV_WriteAudioData");
    auto command = Bind<int (*)(const void*, int)>("RV_WriteCommadnData");
    auto chat = Bind<int (*)(const char*, uint32_t)>("RV_WriteChatData");
    auto full = Bind<int (*)(uint32_t, uint8_t)>("RV_FullVideo");
    auto split = Bind<int (*)(uint8_t)>("RV_SplitVideoWnd");
    auto stop = Bind<int (*)()>("RV_StopRecord");
    auto reset = Bind<void (*)()>("RV_ResetError");
    ASSERT_TRUE(start && audio && command && chat && full && split && stop && reset);

    EXPECT_EQ(1, stop()); // harmless without a recording
    EXPECT_EQ(0, audio("x", 1, 1));
    TempFolder dir;
    const std::string path = dir.File("dll.Pellrund");
    ASSERT_EQ(1, start(path.c_str(), ""));
    EXPECT_EQ(1, audio("\x01\x02", 2, 77));
    EXPECT_EQ(1, command("\x10\x20\x30", 3));
    EXPECT_EQ(1, chat("李四", REC_CHAT_USER_JOINED));
    EXPECT_EQ(1, full(5, 1));
    EXPECT_EQ(1, split(9));
    reset();
    EXPECT_EQ(1, stop());

    CRecordFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str())) << reader.Error();
    std::vector<ReadRecord> audioRecs, commands, chatRecs;
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_AUDIO, audioRecs));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_COMMAND, commands));
    ASSERT_TRUE(ReadStream(reader, REC_STREAM_CHAT, chatRecs));
    ASSERT_EQ(1u, audioRecs.size());
    EXPECT_EQ(77u, audioRecs[0].prefix);
    ASSERT_EQ(3u, commands.size());
    EXPECT_EQ((Bytes{0x10, 0x20, 0x30}), commands[0].payload);
    EXPECT_EQ((Bytes{5, 5, 0, 0, 0, 1}), commands[1].payload);
    EXPECT_EQ((Bytes{16, 9}), commands[2].payload);
    ASSERT_EQ(1u, chatRecs.size());
    EXPECT_EQ(REC_CHAT_USER_JOINED, chatRecs[0].prefix);
}

// The error text arrives in the caller's own string object, through the
// library's copy of the string class.
TEST_F(CaskelLibrary, ErrorMessageFillsTheCallersString)
{
    auto getError = Bind<int (*)(CString&)>("RV_GetErrorMsg");
    auto reset = Bind<void (*)()>("RV_ResetError");
    ASSERT_TRUE(getError && reset);
    reset();
    CString text("untouched");
    EXPECT_EQ(1, getError(text));
    EXPECT_STREQ("无错误发生", static_cast<LPCSTR>(text));
}

} // namespace
