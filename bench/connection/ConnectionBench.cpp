// Commands per second through the stand-in conference server, with one and
// with 50 connected clients: keep-alive round trips from every client at once,
// and chat lines from one client relayed to all the others.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "CTcpLink.h"
#include "StandInTestKit.h"

namespace {

// Drains one client's queue on its own thread, counting messages by code.
class Drain
{
public:
    explicit Drain(StandInClient& client) : m_client(client)
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                CQueueBuffer* buffer = m_client.manager.GetFilled(50);
                if (!buffer)
                    continue;
                if (buffer->GetLength() >= 2) {
                    uint16_t code =
                        static_cast<uint16_t>(buffer->GetData()[0] | buffer->GetData()[1] << 8);
                    if (code == CMD_KEEP_ALIVE)
                        ++keepAlives;
                    else if (code == CMD_CHAT)
                        ++chats;
                }
                m_client.manager.PutFree(buffer);
            }
        });
    }
    ~Drain()
    {
        m_stop = true;
        m_thread.join();
    }
    std::atomic<int> keepAlives{0};
    std::atomic<int> chats{0};

private:
    StandInClient& m_client;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (Seconds(start) * 1000 > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}

void Run(int clientCount)
{
    CServerConfig config = StandInTestConfig();
    CStandInServer server(config);
    server.SetRecording(false);
    if (!server.Start(0)) {
        printf("server did not start\n");
        return;
    }
    std::vector<std::unique_ptr<StandInClient>> clients;
    std::vector<std::unique_ptr<Drain>> drains;
    for (int i = 0; i < clientCount; ++i) {
        clients.emplace_back(new StandInClient());
        char name[16];
        snprintf(name, sizeof name, "user%d", i);
        if (!clients.back()->Login(server.GetPort(), name, "", 1, 1)) {
            printf("login %d failed: %s\n", i, clients.back()->text);
            return;
        }
    }
    for (auto& client : clients)
        drains.emplace_back(new Drain(*client));
    Sleep(200);

    // Keep-alive round trips, every client at once.
    const int perClient = clientCount == 1 ? 5000 : 200;
    auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> senders;
    for (auto& client : clients) {
        StandInClient* c = client.get();
        senders.emplace_back([c, perClient] {
            for (int i = 0; i < perClient; ++i)
                c->manager.SendKeepAlive();
        });
    }
    for (std::thread& t : senders)
        t.join();
    bool all = WaitUntil(
        [&] {
            for (auto& d : drains) {
                if (d->keepAlives < perClient)
                    return false;
            }
            return true;
        },
        60000);
    double seconds = Seconds(start);
    printf("%2d client(s): %6d keep-alive round trips in %.3f s = %8.0f commands/s%s\n",
           clientCount, perClient * clientCount, seconds, perClient * clientCount / seconds,
           all ? "" : " (incomplete)");

    // One command at a time: the latency of a single keep-alive round trip.
    if (clientCount == 1) {
        const int rounds = 200;
        int before = drains[0]->keepAlives;
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            clients[0]->manager.SendKeepAlive();
            WaitUntil([&] { return drains[0]->keepAlives > before + i; }, 5000);
        }
        seconds = Seconds(start);
        printf("%2d client(s): one keep-alive at a time: %.3f ms per round trip\n", clientCount,
               seconds * 1000 / rounds);
    }

    // Chat lines relayed from the first client to every other one.
    if (clientCount > 1) {
        const int lines = 500;
        unsigned char chat[60] = {};
        memcpy(chat + 20, "a line of chat text for the benchmark", 38);
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < lines; ++i)
            clients[0]->manager.SendChat(0, 0, chat, sizeof chat);
        all = WaitUntil(
            [&] {
                for (size_t i = 1; i < drains.size(); ++i) {
                    if (drains[i]->chats < lines)
                        return false;
                }
                return true;
            },
            60000);
        seconds = Seconds(start);
        long deliveries = static_cast<long>(lines) * (clientCount - 1);
        printf("%2d client(s): %6d chat lines relayed to %d in %.3f s = %8.0f commands/s in, "
               "%8.0f deliveries/s%s\n",
               clientCount, lines, clientCount - 1, seconds, lines / seconds, deliveries / seconds,
               all ? "" : " (incomplete)");
    }
    drains.clear();
    clients.clear();
    server.Stop();
}

} // namespace

int main()
{
    if (!StartWinsock()) {
        printf("no Winsock 2.2\n");
        return 1;
    }
    Run(1);
    Run(50);
    WSACleanup();
    return 0;
}
