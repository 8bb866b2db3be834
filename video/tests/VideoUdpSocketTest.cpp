// The endpoint over a fake network: binding, destinations, sending and the
// receive step against loss, reordering, repeats and malformed peers.
#include <gtest/gtest.h>

#include <process.h>

#include <random>
#include <vector>

#include "CFakeNetwork.h"
#include "CVideoPacket.h"
#include "CVideoUdpSocket.h"
#include "CWinsockDatagramSocket.h"

namespace {

std::vector<uint8_t> MakeFrame(uint32_t length, uint32_t seed)
{
    std::vector<uint8_t> f(length);
    for (uint32_t i = 0; i < length; ++i)
        f[i] = static_cast<uint8_t>(seed * 31 + i);
    return f;
}

std::vector<std::vector<uint8_t>> Drain(CVideoUdpSocket& s)
{
    std::vector<std::vector<uint8_t>> out;
    s.ReceiveStep();
    while (auto f = s.PopFrame())
        out.emplace_back(f->Payload(), f->Payload() + f->payloadLength);
    return out;
}

} // namespace

TEST(VideoUdpSocketTest, OpenBindsTheFirstFreePortAndReportsEachFailure)
{
    CFakeNetwork net;
    net.takenPorts = {10000, 10001};
    CVideoUdpSocket a(net.MakeSocket());
    EXPECT_EQ(CVideoUdpSocket::NOT_OPEN, a.Close());
    ASSERT_EQ(CVideoUdpSocket::OK, a.Open(10000, 0));
    EXPECT_EQ(10002, a.GetPort());
    EXPECT_EQ(CVideoUdpSocket::ALREADY_OPEN, a.Open(10000, 0));
    EXPECT_EQ(10002, a.GetPort());
    CVideoUdpSocket b(net.MakeSocket());
    ASSERT_EQ(CVideoUdpSocket::OK, b.Open(10000, 0));
    EXPECT_EQ(10003, b.GetPort());
    EXPECT_EQ(CVideoUdpSocket::OK, a.Close());
    EXPECT_EQ(CVideoUdpSocket::NOT_OPEN, a.Close());

    net.takenPorts = {65533, 65534, 65535};
    CVideoUdpSocket full(net.MakeSocket());
    EXPECT_EQ(CVideoUdpSocket::NO_PORT, full.Open(65533, 0));
    EXPECT_FALSE(full.IsOpen());

    net.refuseReceiveBuffer = true;
    CVideoUdpSocket refused(net.MakeSocket());
    EXPECT_EQ(CVideoUdpSocket::RCVBUF_REFUSED, refused.Open(10000, 0));
    net.refuseReceiveBuffer = false;
    net.failCreate = true;
    CVideoUdpSocket none(net.MakeSocket());
    EXPECT_EQ(CVideoUdpSocket::NO_SOCKET, none.Open(10000, 0));
    EXPECT_EQ(CVideoUdpSocket::NOT_OPEN, none.Send(MakeFrame(10, 1).data(), 10, 110, 0, 30));
    EXPECT_EQ(CVideoUdpSocket::NOT_OPEN, none.ReceiveStep());
}

TEST(VideoUdpSocketTest, SendReachesEachDestinationOnceAndRefusesBadLengths)
{
    CFakeNetwork net;
    CVideoUdpSocket s(net.MakeSocket());
    ASSERT_EQ(CVideoUdpSocket::OK, s.Open(10000, 0));
    EXPECT_EQ(CVideoUdpSocket::OK, s.AddDestination(0x7F000001, 20000));
    EXPECT_EQ(CVideoUdpSocket::OK, s.AddDestination(0x7F000001, 20000));
    EXPECT_EQ(CVideoUdpSocket::OK, s.AddDestination(0x0A000001, 20001));
    EXPECT_EQ(2u, s.DestinationCount());

    const uint16_t first = s.GetFrameCounter();
    std::vector<uint8_t> frame = MakeFrame(61441, 1);
    EXPECT_EQ(0, s.Send(frame.data(), 0, 110, 0, 30));
    EXPECT_EQ(0, s.Send(frame.data(), 61441, 110, 0, 30));
    EXPECT_EQ(0, s.Send(frame.data(), -5, 110, 0, 30));
    EXPECT_EQ(0u, net.Waiting(20000));
    EXPECT_EQ(first, s.GetFrameCounter());

    EXPECT_EQ(0, s.Send(frame.data(), 61440, 110, 0, 30));
    EXPECT_EQ(0, s.Send(frame.data(), 501, 110, 0, 30));
    EXPECT_EQ(123u + 2u, net.Waiting(20000));
    EXPECT_EQ(123u + 2u, net.Waiting(20001));
    std::vector<CFakeNetwork::Datagram> got = net.Unbound(20000);
    auto a = CVideoPacket::Parse(got[0].bytes.data(), got[0].bytes.size(), 0, 0);
    auto b = CVideoPacket::Parse(got[123].bytes.data(), got[123].bytes.size(), 0, 0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(first, a->sequence);
    EXPECT_EQ(static_cast<uint16_t>(first + 1), b->sequence);
    EXPECT_EQ(a->timestamp + 30, b->timestamp);
    EXPECT_EQ(524u, got[123].bytes.size());
    EXPECT_EQ(25u, got[124].bytes.size());

    s.ClearDestinations();
    EXPECT_EQ(0u, s.DestinationCount());
    EXPECT_EQ(CVideoUdpSocket::OK, s.ReplaceDestinations(0x7F000001, 20002));
    EXPECT_EQ(1u, s.DestinationCount());
}

TEST(VideoUdpSocketTest, FramesCrossAnUnreliableNetworkWhole)
{
    struct Case
    {
        const char* what;
        int lossPercent;
        int repeatPercent;
        int holdPercent; // held back and delivered after the next datagram
        int minDelivered;
    } cases[] = {
        {"clean", 0, 0, 0, 60}, {"repeats", 0, 30, 0, 60},     {"reordering", 0, 0, 30, 60},
        {"loss", 5, 0, 0, 20},  {"everything", 3, 10, 10, 20},
    };
    for (const Case& c : cases) {
        CFakeNetwork net;
        std::mt19937 rng(7);
        std::vector<CFakeNetwork::Datagram> held;
        net.filter = [&](const CFakeNetwork::Datagram& d, uint16_t) {
            std::vector<CFakeNetwork::Datagram> out;
            if (static_cast<int>(rng() % 100) < c.lossPercent)
                return out;
            if (static_cast<int>(rng() % 100) < c.holdPercent) {
                held.push_back(d);
                return out;
            }
            out.push_back(d);
            if (static_cast<int>(rng() % 100) < c.repeatPercent)
                out.push_back(d);
            out.insert(out.end(), held.begin(), held.end());
            held.clear();
            return out;
        };
        CVideoUdpSocket tx(net.MakeSocket()), rx(net.MakeSocket());
        ASSERT_EQ(0, tx.Open(10000, 0));
        ASSERT_EQ(0, rx.Open(10000, 0));
        tx.AddDestination(CFakeNetwork::LOOPBACK, rx.GetPort());
        std::vector<std::vector<uint8_t>> sent;
        std::vector<std::vector<uint8_t>> got;
        for (uint32_t i = 0; i < 60; ++i) {
            sent.push_back(MakeFrame(1 + (i * 1733) % 12000, i));
            tx.Send(sent.back().data(), static_cast<int>(sent.back().size()), 110, 0, 30);
            if (i % 3 == 2)
                for (auto& f : Drain(rx))
                    got.push_back(f);
        }
        for (const auto& d : held)
            net.Deliver(rx.GetPort(), d);
        for (auto& f : Drain(rx))
            got.push_back(f);
        size_t next = 0;
        for (const auto& f : got) {
            // Each delivered frame is one that was sent, whole, at most once
            // and in order.
            while (next < sent.size() && sent[next] != f)
                ++next;
            ASSERT_LT(next, sent.size()) << c.what << ": a frame arrived corrupted or twice";
            ++next;
        }
        EXPECT_GE(static_cast<int>(got.size()), c.minDelivered) << c.what;
    }
}

TEST(VideoUdpSocketTest, MalformedAndOversizedDatagramsFromAPeerAreSkipped)
{
    CFakeNetwork net;
    CVideoUdpSocket rx(net.MakeSocket()), tx(net.MakeSocket());
    ASSERT_EQ(0, rx.Open(10000, 0));
    ASSERT_EQ(0, tx.Open(10000, 0));
    const uint16_t port = rx.GetPort();
    std::vector<uint8_t> junk(2000, 0x80);
    net.Inject(port, "", 0);                     // empty: the pending count reads 0
    net.Inject(port, junk.data(), junk.size());  // larger than the datagram buffer
    net.Inject(port, junk.data(), 5);            // shorter than a header
    net.Inject(port, "\xC0garbage-garbage", 16); // wrong version
    uint8_t forged[24 + 500] = {0x90, 110, 0, 9, 0,    0,    0,    0,    0, 0, 0, 0,
                                0,    9,   0, 2, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0};
    net.Inject(port, forged, sizeof forged); // frame length of 2 GB
    tx.AddDestination(CFakeNetwork::LOOPBACK, port);
    std::vector<uint8_t> frame = MakeFrame(1400, 3);
    tx.Send(frame.data(), 1400, 110, 0, 30);
    std::vector<std::vector<uint8_t>> got = Drain(rx);
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(frame, got[0]);
    EXPECT_EQ(0, rx.GetReassembler().SlotsInUse());
}

namespace {

struct SendJob
{
    CVideoUdpSocket* socket;
    uint8_t seed;
};

unsigned __stdcall SendMany(void* arg)
{
    SendJob* job = static_cast<SendJob*>(arg);
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> f(1200, job->seed);
        job->socket->Send(f.data(), 1200, 110, 0, 30);
    }
    return 0;
}

} // namespace

TEST(VideoUdpSocketTest, TwoThreadsSendingThroughOneEndpointNeverMixFrames)
{
    CFakeNetwork net;
    CVideoUdpSocket tx(net.MakeSocket()), rx(net.MakeSocket());
    ASSERT_EQ(0, tx.Open(10000, 0));
    ASSERT_EQ(0, rx.Open(10000, 0));
    tx.AddDestination(CFakeNetwork::LOOPBACK, rx.GetPort());
    SendJob a{&tx, 0x11}, b{&tx, 0x22};
    HANDLE ta = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, SendMany, &a, 0, nullptr));
    HANDLE tb = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, SendMany, &b, 0, nullptr));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ta, 10000));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(tb, 10000));
    CloseHandle(ta);
    CloseHandle(tb);
    size_t frames = 0;
    for (int round = 0; round < 10; ++round) {
        for (const auto& f : Drain(rx)) {
            ASSERT_EQ(1200u, f.size());
            ASSERT_TRUE(f == std::vector<uint8_t>(1200, 0x11) ||
                        f == std::vector<uint8_t>(1200, 0x22));
            ++frames;
        }
    }
    EXPECT_EQ(600u, frames);
}

TEST(VideoUdpSocketTest, OnlyStrictDottedAddressesAreAccepted)
{
    struct Case
    {
        const char* text;
        bool ok;
        uint32_t value;
    } cases[] = {
        {"127.0.0.1", true, 0x7F000001},
        {"255.255.255.255", true, 0xFFFFFFFF},
        {"0.0.0.0", true, 0},
        {"192.168.1.20", true, 0xC0A80114},
        {"256.0.0.1", false, 0},
        {"1.2.3", false, 0},
        {"1.2.3.4.5", false, 0},
        {"1.2.3.4 ", false, 0},
        {"a.b.c.d", false, 0},
        {"", false, 0},
        {"1..2.3", false, 0},
        {"0001.2.3.4", false, 0},
        {nullptr, false, 0},
    };
    for (const Case& c : cases) {
        uint32_t v = 0;
        EXPECT_EQ(c.ok, CVideoUdpSocket::ParseAddress(c.text, v)) << (c.text ? c.text : "null");
        if (c.ok) {
            EXPECT_EQ(c.value, v) << c.text;
        }
    }
}

TEST(VideoUdpSocketTest, AFloodIsReadInBoundedStepsAndNeverStallsTheEndpoint)
{
    // More than 61440 bytes waiting at once must not stop the reading, and
    // one step must not read without end.
    CFakeNetwork net;
    CVideoUdpSocket tx(net.MakeSocket()), rx(net.MakeSocket());
    ASSERT_EQ(0, tx.Open(10000, 0));
    ASSERT_EQ(0, rx.Open(10000, 0));
    tx.AddDestination(CFakeNetwork::LOOPBACK, rx.GetPort());
    std::vector<uint8_t> frame = MakeFrame(20000, 5); // 40 datagrams each
    for (int i = 0; i < 50; ++i)
        tx.Send(frame.data(), 20000, 110, 0, 30);
    ASSERT_EQ(2000u, net.Waiting(rx.GetPort()));
    std::vector<std::vector<uint8_t>> first = Drain(rx);
    EXPECT_EQ(2000u - CVideoUdpSocket::MAX_DATAGRAMS_PER_STEP, net.Waiting(rx.GetPort()));
    std::vector<std::vector<uint8_t>> rest = Drain(rx);
    EXPECT_EQ(0u, net.Waiting(rx.GetPort()));
    EXPECT_EQ(50u, first.size() + rest.size());
}

TEST(VideoUdpSocketTest, AnEmptyDatagramOverLoopbackDoesNotStopTheReceiver)
{
    CVideoUdpSocket rx(std::unique_ptr<IDatagramSocket>(new CWinsockDatagramSocket));
    CVideoUdpSocket tx(std::unique_ptr<IDatagramSocket>(new CWinsockDatagramSocket));
    ASSERT_EQ(0, rx.Open(31000, 0x7F000001));
    ASSERT_EQ(0, tx.Open(31000, 0x7F000001));
    CWinsockDatagramSocket raw;
    ASSERT_TRUE(raw.Create());
    ASSERT_TRUE(raw.Bind(0x7F000001, 0));
    tx.AddDestination(0x7F000001, rx.GetPort());
    std::vector<std::vector<uint8_t>> got;
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(0, raw.SendTo("", 0, 0x7F000001, rx.GetPort()));
        std::vector<uint8_t> frame = MakeFrame(900, 7 + round);
        tx.Send(frame.data(), 900, 110, 0, 30);
        size_t before = got.size();
        for (int wait = 0; wait < 200 && got.size() == before; ++wait) {
            Sleep(5);
            for (auto& f : Drain(rx))
                got.push_back(f);
        }
        ASSERT_EQ(before + 1, got.size()) << "round " << round;
        EXPECT_EQ(frame, got.back());
    }
}
