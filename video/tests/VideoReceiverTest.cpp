// The receive side against a fake engine and a fake network: reports, the
// following of the frames' source, and rendering.
#include <gtest/gtest.h>

#include <vector>

#include "CFakeEngine.h"
#include "CFakeNetwork.h"
#include "CVideoManagerR.h"
#include "CVideoPacket.h"

namespace {

const uint16_t kRelay = 30000;

struct Report
{
    uint32_t wordA;
    uint32_t wordB;
};

std::vector<Report> Reports(CFakeNetwork& net, uint16_t port)
{
    std::vector<Report> out;
    for (const auto& d : net.Unbound(port)) {
        auto f = CVideoPacket::Parse(d.bytes.data(), d.bytes.size(), 0, 0);
        EXPECT_TRUE(f);
        EXPECT_EQ(20u, d.bytes.size());
        if (!f || f->payloadLength != 8)
            continue;
        const uint8_t* p = f->Payload();
        out.push_back({static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | p[3] << 24),
                       static_cast<uint32_t>(p[4] | p[5] << 8 | p[6] << 16 | p[7] << 24)});
    }
    return out;
}

} // namespace

class VideoReceiverTest : public ::testing::Test
{
protected:
    CFakeEngine engine;
    CFakeNetwork net;
    CVideoManagerR receiver{engine, net.MakeSocket()};
};

TEST_F(VideoReceiverTest, ReportsGoOutOnceASecondAndFollowTheFramesSource)
{
    ASSERT_TRUE(receiver.Create(1, nullptr, 0x400));
    // Drive the loop by hand: the endpoint opens as Bind would.
    // Drive the loop by hand: the endpoint opens as Bind would, without
    // the thread.
    ASSERT_EQ(0, receiver.Socket().Open(10000, 0));
    EXPECT_EQ(0, receiver.SendTo("10.0.0.300", kRelay));
    EXPECT_EQ(1, receiver.SendTo("127.0.0.1", kRelay));
    EXPECT_EQ(1, receiver.SendTo("127.0.0.1", kRelay)); // the same pair counts once
    size_t reports = Reports(net, kRelay).size();
    EXPECT_EQ(2u, reports);
    ASSERT_GE(reports, 1u);

    // Rounds every 15 ms; a report goes out once a full second lies
    // between the last one and the previous round's tick.
    for (uint32_t now = 0; now <= 3000; now += 15)
        receiver.Round(now);
    EXPECT_EQ(reports + 2, Reports(net, kRelay).size());

    // A frame from another port: reports go there from now on, and only there.
    CVideoUdpSocket peer(net.MakeSocket());
    ASSERT_EQ(0, peer.Open(31000, 0));
    peer.AddDestination(CFakeNetwork::LOOPBACK, receiver.Socket().GetPort());
    std::vector<uint8_t> frame(2000, 0x42);
    frame[0] = 0x11; // the stream id stays in front of the frame
    peer.Send(frame.data(), 2000, 110, 0, 30);
    receiver.Round(3015);
    ASSERT_EQ(1u, engine.rendered.size());
    EXPECT_EQ(frame, engine.rendered[0]);
    const size_t toRelay = Reports(net, kRelay).size();
    for (uint32_t now = 3030; now <= 5100; now += 15)
        receiver.Round(now);
    EXPECT_EQ(toRelay, Reports(net, kRelay).size());
    peer.ReceiveStep();
    size_t toPeer = 0;
    while (auto f = peer.PopFrame())
        toPeer += f->payloadLength == 8 ? 1 : 0;
    EXPECT_EQ(3u, toPeer);
}

TEST_F(VideoReceiverTest, ThreadReportsAtOnceAndStopsPromptly)
{
    ASSERT_TRUE(receiver.Create(1, nullptr, 0x400));
    EXPECT_EQ(1, receiver.SendTo("127.0.0.1", kRelay)); // before Bind: not open, no report
    uint16_t port = 0;
    ASSERT_EQ(1, receiver.BindLocalPort(5, 6, 0, &port));
    EXPECT_EQ(10000, port);
    for (int i = 0; i < 400 && net.Waiting(kRelay) < 1; ++i)
        Sleep(5);
    ASSERT_EQ(1u, net.Waiting(kRelay));
    EXPECT_EQ(5u, Reports(net, kRelay)[0].wordA);
    EXPECT_EQ(6u, Reports(net, kRelay)[0].wordB);
    EXPECT_EQ(0, receiver.BindLocalPort(5, 6, 0, &port)); // already bound
    const DWORD started = GetTickCount();
    receiver.StopReceive();
    EXPECT_LT(GetTickCount() - started, 1000u);
    EXPECT_FALSE(receiver.Socket().IsOpen());
    // Bind may run again after a stop.
    ASSERT_EQ(1, receiver.BindLocalPort(5, 6, 0, &port));
    receiver.Destroy();
    EXPECT_TRUE(engine.Called("DestroyRenderer"));
    EXPECT_EQ(0u, receiver.GetRenderer());
}

TEST_F(VideoReceiverTest, PassThroughsNeedARenderer)
{
    engine.failRenderer = true;
    EXPECT_FALSE(receiver.Create(1, nullptr, 0x400));
    EXPECT_FALSE(engine.Called("SetRendererNotify"));
    EXPECT_EQ(0, receiver.SavePicture("x"));
    receiver.OnEraseBk();
    receiver.SetRecord(1, nullptr, nullptr);
    EXPECT_FALSE(engine.Called("EraseBackground"));
    EXPECT_FALSE(engine.Called("SetRendererRecord"));

    engine.failRenderer = false;
    ASSERT_TRUE(receiver.Create(1, nullptr, 0x400));
    EXPECT_TRUE(engine.Called("SetRendererNotify"));
    EXPECT_EQ(43, receiver.SavePicture("x"));
    receiver.OnEraseBk();
    EXPECT_TRUE(engine.Called("EraseBackground"));
}
