#include <gtest/gtest.h>

#include <process.h>

#include "CNamedThread.h"

namespace {

class CountingThread : public CNamedThread
{
public:
    CountingThread(HANDLE done, bool* destroyed)
        : CNamedThread("counter", 7), m_done(done), m_destroyed(destroyed)
    {}
    ~CountingThread() override
    {
        if (m_destroyed)
            *m_destroyed = true;
        if (m_done)
            SetEvent(m_done);
    }
    uint32_t Run() override { return 42 + GetParameter(); }

private:
    HANDLE m_done;
    bool* m_destroyed;
};

} // namespace

TEST(NamedThread, DefaultRunEndsWithZeroAndCanStartAgain)
{
    CNamedThread thread(nullptr, 0);
    EXPECT_STREQ(thread.GetName(), "No name");
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(thread.Start()) << "a second start starts nothing";
    ASSERT_EQ(WaitForSingleObject(thread.GetHandle(), 5000), WAIT_OBJECT_0);
    uint32_t code = 99;
    EXPECT_TRUE(thread.GetExitCode(&code));
    EXPECT_EQ(code, 0u);
    thread.Stop();
    EXPECT_EQ(thread.GetHandle(), nullptr);
    EXPECT_EQ(thread.GetThreadId(), 0u);

    ASSERT_TRUE(thread.Start()) << "a joined thread object starts again";
    thread.Stop();
}

TEST(NamedThread, RunResultIsTheExitCode)
{
    CountingThread thread(nullptr, nullptr);
    ASSERT_TRUE(thread.Start());
    WaitForSingleObject(thread.GetHandle(), 5000);
    uint32_t code = 0;
    thread.GetExitCode(&code);
    EXPECT_EQ(code, 49u);
    thread.Stop();
}

TEST(NamedThread, AutoDeleteRemovesTheObjectWhenRunEnds)
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool destroyed = false;
    CountingThread* thread = new CountingThread(done, &destroyed);
    thread->SetAutoDelete(1);
    ASSERT_TRUE(thread->Start());
    ASSERT_EQ(WaitForSingleObject(done, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(destroyed);
    CloseHandle(done);
}

namespace {

class WaitingThread : public CNamedThread
{
public:
    WaitingThread(HANDLE go, HANDLE done) : CNamedThread("waiting"), m_go(go), m_done(done) {}
    ~WaitingThread() override { SetEvent(m_done); }
    uint32_t Run() override
    {
        WaitForSingleObject(m_go, 10000);
        return 0;
    }

private:
    HANDLE m_go;
    HANDLE m_done;
};

unsigned __stdcall StopThread(void* thread)
{
    static_cast<CNamedThread*>(thread)->Stop();
    return 0;
}

} // namespace

TEST(NamedThread, StopRefusesASelfDeletingThreadInsteadOfJoiningIt)
{
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WaitingThread* thread = new WaitingThread(go, done);
    thread->SetAutoDelete(1);
    ASSERT_TRUE(thread->Start());
    HANDLE stopper =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, StopThread, thread, 0, nullptr));
    // Joining would wait for the thread and then write into its deleted object.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stopper, 3000))
        << "Stop joined a self-deleting thread";
    SetEvent(go);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done, 10000));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stopper, 5000));
    CloseHandle(stopper);
    CloseHandle(go);
    CloseHandle(done);
}

TEST(NamedThread, AnEndedThreadNeverJoinedReleasesItsHandleWithTheObject)
{
    HANDLE handle = nullptr;
    {
        CNamedThread thread("never joined");
        ASSERT_TRUE(thread.Start());
        handle = thread.GetHandle();
        ASSERT_EQ(WaitForSingleObject(handle, 5000), WAIT_OBJECT_0);
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(handle, &flags)) << "the thread handle leaked";
}

TEST(NamedThread, LongNamesAreCut)
{
    std::string name(400, 'x');
    CNamedThread thread(name.c_str());
    EXPECT_EQ(strlen(thread.GetName()), 259u);
}
