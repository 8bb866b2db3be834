// One source sending a 20 ms audio packet stream to 1, 10, 50 and 200
// listeners of one conference, through the relay running in OrvaneHost.exe
// and through a minimal single-threaded relay written here, on the same
// traffic in the same run. Prints delivered packets per second, end-to-end
// latency percentiles and CPU time per delivered packet.
//
//   orvane_bench [seconds per run, default 3] [listener counts, default 1,10,50,200]
#define FD_SETSIZE 1024
#include <winsock2.h>

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../BenchRow.h"
#include "RelayProtocol.h"

namespace {

const uint32_t kPacketTotal = 100; // length field + kind + seq + stamp + coded audio
const uint32_t kPacketMs = 20;
const uint8_t kDataKind = 0x11;
const size_t kListenersPerReader = 25;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double FileTimeSeconds(const FILETIME& a, const FILETIME& b)
{
    ULARGE_INTEGER x, y;
    x.LowPart = a.dwLowDateTime;
    x.HighPart = a.dwHighDateTime;
    y.LowPart = b.dwLowDateTime;
    y.HighPart = b.dwHighDateTime;
    return static_cast<double>(x.QuadPart + y.QuadPart) / 1e7;
}

bool SendAll(SOCKET s, const uint8_t* data, size_t length)
{
    while (length) {
        int n = send(s, reinterpret_cast<const char*>(data), static_cast<int>(length), 0);
        if (n <= 0)
            return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveAll(SOCKET s, uint8_t* data, size_t length, int waitMs)
{
    while (length) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval tv = {waitMs / 1000, (waitMs % 1000) * 1000};
        if (select(0, &set, nullptr, nullptr, &tv) <= 0)
            return false;
        int n = recv(s, reinterpret_cast<char*>(data), static_cast<int>(length), 0);
        if (n <= 0)
            return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

SOCKET ConnectAndJoin(uint16_t port, uint32_t role)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    uint8_t head[16];
    WireWriter w(head, sizeof head);
    w.U32(role) && w.U32(1) && w.U32(0) && w.U32(1);
    uint8_t answer = 0;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        !SendAll(s, head, sizeof head) || !ReceiveAll(s, &answer, 1, 5000) ||
        answer != RELAY_ANSWER_ACCEPTED) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

// A relay under measurement: where it listens and how much CPU it has used.
class Relay
{
public:
    virtual ~Relay() = default;
    virtual const char* Name() const = 0;
    virtual bool Start() = 0;
    virtual uint16_t Port() const = 0;
    virtual double CpuSeconds() = 0;
    virtual void Stop() = 0;
};

uint16_t FreePort()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    return ntohs(address.sin_port);
}

// The relay library, run by its host program as a process of its own.
class OrvaneRelay : public Relay
{
public:
    const char* Name() const override { return "Orvane"; }
    uint16_t Port() const override { return m_port; }

    bool Start() override
    {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string folder(path);
        folder.erase(folder.find_last_of("\\/") + 1);
        m_port = FreePort();
        m_eventName = "OrvaneBenchStop" + std::to_string(GetCurrentProcessId()) + "_" +
                      std::to_string(m_port);
        m_stop = CreateEventA(nullptr, TRUE, FALSE, m_eventName.c_str());

        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        CreatePipe(&readEnd, &writeEnd, &inherit, 0);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        std::string line = "\"" + folder + "OrvaneHost.exe\" " + std::to_string(m_port) +
                           " --stop-event " + m_eventName;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        bool started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &m_process) != 0;
        CloseHandle(writeEnd);
        // Ready once it says it listens; bounded.
        std::string said;
        for (DWORD start = GetTickCount(); started && GetTickCount() - start < 10000;) {
            DWORD available = 0;
            if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
                break;
            if (!available) {
                Sleep(10);
                continue;
            }
            char text[256];
            DWORD n = 0;
            ReadFile(readEnd, text, std::min<DWORD>(available, sizeof text), &n, nullptr);
            said.append(text, n);
            if (said.find("listening") != std::string::npos) {
                m_ready = true;
                break;
            }
        }
        CloseHandle(readEnd);
        if (!m_ready)
            fprintf(stderr, "OrvaneHost did not start: %s\n", said.c_str());
        return m_ready;
    }

    double CpuSeconds() override
    {
        FILETIME created, exited, kernel, user;
        if (!GetProcessTimes(m_process.hProcess, &created, &exited, &kernel, &user))
            return 0;
        return FileTimeSeconds(kernel, user);
    }

    void Stop() override
    {
        if (m_stop)
            SetEvent(m_stop);
        if (m_process.hProcess) {
            double asked = Now();
            DWORD waited = WaitForSingleObject(m_process.hProcess, 30000);
            if (getenv("ORVANE_BENCH_TRACE"))
                fprintf(stderr, "OrvaneHost stopped in %.2f s\n", Now() - asked);
            if (waited != WAIT_OBJECT_0) {
                fprintf(stderr, "OrvaneHost did not stop in time\n");
                TerminateProcess(m_process.hProcess, 1);
            }
            CloseHandle(m_process.hThread);
            CloseHandle(m_process.hProcess);
            m_process = {};
        }
        if (m_stop)
            CloseHandle(m_stop);
        m_stop = nullptr;
    }

private:
    uint16_t m_port = 0;
    std::string m_eventName;
    HANDLE m_stop = nullptr;
    PROCESS_INFORMATION m_process = {};
    bool m_ready = false;
};

// The smallest relay that does the job: one thread, one select loop, joins
// answered at once, every source message written to every listener.
class MinimalRelay : public Relay
{
public:
    const char* Name() const override { return "minimal"; }
    uint16_t Port() const override { return m_port; }

    bool Start() override
    {
        m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(m_listen, 5) != 0)
            return false;
        int length = sizeof address;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = CreateThread(nullptr, 0, &MinimalRelay::ThreadProc, this, 0, nullptr);
        return m_thread != nullptr;
    }

    double CpuSeconds() override
    {
        FILETIME created, exited, kernel, user;
        if (!GetThreadTimes(m_thread, &created, &exited, &kernel, &user))
            return 0;
        return FileTimeSeconds(kernel, user);
    }

    void Stop() override
    {
        m_stopping = true;
        if (m_thread) {
            WaitForSingleObject(m_thread, 10000);
            CloseHandle(m_thread);
            m_thread = nullptr;
        }
        for (SOCKET s : m_listeners)
            closesocket(s);
        if (m_source != INVALID_SOCKET)
            closesocket(m_source);
        closesocket(m_listen);
    }

private:
    static DWORD WINAPI ThreadProc(void* self)
    {
        static_cast<MinimalRelay*>(self)->Loop();
        return 0;
    }

    void Loop()
    {
        std::vector<uint8_t> pending;
        while (!m_stopping) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(m_listen, &set);
            if (m_source != INVALID_SOCKET)
                FD_SET(m_source, &set);
            timeval tv = {0, 10000};
            if (select(0, &set, nullptr, nullptr, &tv) <= 0)
                continue;
            if (FD_ISSET(m_listen, &set))
                Accept();
            if (m_source != INVALID_SOCKET && FD_ISSET(m_source, &set)) {
                uint8_t chunk[65536];
                int n = recv(m_source, reinterpret_cast<char*>(chunk), sizeof chunk, 0);
                if (n <= 0) {
                    closesocket(m_source);
                    m_source = INVALID_SOCKET;
                    continue;
                }
                pending.insert(pending.end(), chunk, chunk + n);
                size_t used = 0;
                for (;;) {
                    uint32_t length = 0;
                    WireReader r(pending.data() + used, pending.size() - used);
                    if (!r.U32(length) || r.Remaining() < length)
                        break;
                    for (SOCKET s : m_listeners)
                        SendAll(s, pending.data() + used, length + 4);
                    used += length + 4;
                }
                pending.erase(pending.begin(), pending.begin() + used);
            }
        }
    }

    void Accept()
    {
        SOCKET s = accept(m_listen, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            return;
        BOOL on = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        uint8_t head[16];
        uint32_t role = 0xFF;
        if (ReceiveAll(s, head, sizeof head, 5000)) {
            WireReader r(head, sizeof head);
            r.U32(role);
        }
        const uint8_t accepted = RELAY_ANSWER_ACCEPTED;
        if ((role & 0xFF) > 1 || !SendAll(s, &accepted, 1)) {
            closesocket(s);
            return;
        }
        if ((role & 0xFF) == 0)
            m_source = s;
        else
            m_listeners.push_back(s);
    }

    SOCKET m_listen = INVALID_SOCKET;
    SOCKET m_source = INVALID_SOCKET;
    std::vector<SOCKET> m_listeners;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    HANDLE m_thread = nullptr;
};

struct Result
{
    uint32_t sent = 0;
    uint64_t delivered = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    std::vector<double> latencyUs;
};

// Reads every listener in one thread, counts data packets and their delay.
class ListenerSet
{
public:
    explicit ListenerSet(std::vector<SOCKET> sockets)
        : m_sockets(std::move(sockets)), m_buffers(m_sockets.size())
    {}

    // Runs until expected data packets arrived or the deadline passed.
    void Read(uint64_t expectedData, size_t expectedHeaders, double deadline)
    {
        while (Now() < deadline && (m_data < expectedData || m_headers < expectedHeaders)) {
            fd_set set;
            FD_ZERO(&set);
            for (SOCKET s : m_sockets)
                FD_SET(s, &set);
            timeval tv = {0, 20000};
            if (select(0, &set, nullptr, nullptr, &tv) <= 0)
                continue;
            for (size_t i = 0; i < m_sockets.size(); ++i) {
                if (FD_ISSET(m_sockets[i], &set))
                    Drain(i);
            }
        }
    }

    size_t Count() const { return m_sockets.size(); }
    uint64_t Data() const { return m_data; }
    size_t Headers() const { return m_headers; }
    std::vector<double>& Latencies() { return m_latencies; }

private:
    void Drain(size_t index)
    {
        uint8_t chunk[16384];
        int n = recv(m_sockets[index], reinterpret_cast<char*>(chunk), sizeof chunk, 0);
        if (n <= 0)
            return;
        double now = Now();
        std::vector<uint8_t>& buffer = m_buffers[index];
        buffer.insert(buffer.end(), chunk, chunk + n);
        size_t used = 0;
        for (;;) {
            WireReader r(buffer.data() + used, buffer.size() - used);
            uint32_t length = 0;
            uint8_t kind = 0;
            uint32_t seq = 0;
            double stamp = 0;
            if (!r.U32(length) || r.Remaining() < length)
                break;
            if (r.U8(kind) && kind == kDataKind && r.U32(seq) && r.Bytes(&stamp, sizeof stamp)) {
                ++m_data;
                m_latencies.push_back((now - stamp) * 1e6);
            } else if (kind == RELAY_KIND_HEADER) {
                ++m_headers;
            }
            used += length + 4;
        }
        buffer.erase(buffer.begin(), buffer.begin() + used);
    }

    std::vector<SOCKET> m_sockets;
    std::vector<std::vector<uint8_t>> m_buffers;
    uint64_t m_data = 0;
    size_t m_headers = 0;
    std::vector<double> m_latencies;
};

bool RunTraffic(Relay& relay, size_t listenerCount, uint32_t packets, Result& result)
{
    std::vector<SOCKET> sockets;
    for (size_t i = 0; i < listenerCount; ++i) {
        SOCKET s = ConnectAndJoin(relay.Port(), RELAY_ROLE_LISTENER);
        if (s == INVALID_SOCKET) {
            fprintf(stderr, "%s: listener %u could not join\n", relay.Name(),
                    static_cast<unsigned>(i));
            for (SOCKET t : sockets)
                closesocket(t);
            return false;
        }
        sockets.push_back(s);
    }
    if (getenv("ORVANE_BENCH_TRACE"))
        fprintf(stderr, "%s: %u listeners joined at %.2f\n", relay.Name(), (unsigned)listenerCount,
                Now());
    SOCKET source = ConnectAndJoin(relay.Port(), RELAY_ROLE_SOURCE);
    if (source == INVALID_SOCKET) {
        for (SOCKET t : sockets)
            closesocket(t);
        return false;
    }
    // Listeners are read by several threads, so that reading is not what is measured.
    std::vector<std::unique_ptr<ListenerSet>> groups;
    for (size_t i = 0; i < sockets.size(); i += kListenersPerReader) {
        size_t end = std::min(sockets.size(), i + kListenersPerReader);
        groups.emplace_back(
            new ListenerSet(std::vector<SOCKET>(sockets.begin() + i, sockets.begin() + end)));
    }
    auto readAll = [&](uint32_t dataEach, bool headers, double deadline) {
        std::vector<std::thread> readers;
        for (auto& group : groups) {
            ListenerSet* set = group.get();
            uint64_t data = static_cast<uint64_t>(dataEach) * set->Count();
            size_t want = headers ? set->Count() : 0;
            readers.emplace_back([=] { set->Read(data, want, deadline); });
        }
        for (std::thread& t : readers)
            t.join();
    };

    // The stream header first; every listener must see it before timing starts.
    uint8_t header[32] = {};
    WireWriter(header, sizeof header).U32(28);
    header[4] = RELAY_KIND_HEADER;
    SendAll(source, header, sizeof header);
    readAll(0, true, Now() + 10);
    size_t headers = 0;
    for (auto& group : groups)
        headers += group->Headers();
    if (headers < listenerCount)
        fprintf(stderr, "%s: only %u listeners saw the header\n", relay.Name(),
                static_cast<unsigned>(headers));

    double cpuBefore = relay.CpuSeconds();
    double start = Now();
    std::thread sender([&] {
        uint8_t packet[kPacketTotal] = {};
        for (uint32_t seq = 0; seq < packets; ++seq) {
            double due = start + seq * (kPacketMs / 1000.0);
            while (Now() < due)
                Sleep(1);
            double stamp = Now();
            WireWriter w(packet, sizeof packet);
            w.U32(kPacketTotal - 4) && w.U8(kDataKind) && w.U32(seq) &&
                w.Bytes(&stamp, sizeof stamp);
            if (!SendAll(source, packet, sizeof packet))
                break;
            ++result.sent;
        }
    });
    readAll(packets, false, start + packets * (kPacketMs / 1000.0) + 3.0);
    double end = Now();
    sender.join();
    result.cpuSeconds = relay.CpuSeconds() - cpuBefore;
    result.seconds = end - start;
    for (auto& group : groups) {
        result.delivered += group->Data();
        result.latencyUs.insert(result.latencyUs.end(), group->Latencies().begin(),
                                group->Latencies().end());
    }

    closesocket(source);
    for (SOCKET s : sockets)
        closesocket(s);
    return true;
}

double Percentile(std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0;
    size_t index = static_cast<size_t>(p * (sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

void Print(const char* name, size_t listeners, Result& r)
{
    std::sort(r.latencyUs.begin(), r.latencyUs.end());
    double perSecond = r.seconds > 0 ? r.delivered / r.seconds : 0;
    double cpuPerPacket = r.delivered ? r.cpuSeconds * 1e6 / r.delivered : 0;
    printf("%-8s %9u %6u %10llu %9.1f %8.0f %8.0f %8.0f %8.0f %11.1f %8.3f\n", name,
           static_cast<unsigned>(listeners), r.sent, static_cast<unsigned long long>(r.delivered),
           perSecond, Percentile(r.latencyUs, 0.50), Percentile(r.latencyUs, 0.90),
           Percentile(r.latencyUs, 0.99), r.latencyUs.empty() ? 0.0 : r.latencyUs.back(),
           cpuPerPacket, r.cpuSeconds);
    fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    double secondsPerRun = argc > 1 ? atof(argv[1]) : 3.0;
    if (secondsPerRun <= 0 || secondsPerRun > 60)
        secondsPerRun = 3.0;
    uint32_t packets = static_cast<uint32_t>(secondsPerRun * 1000 / kPacketMs);

    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 1;
    timeBeginPeriod(1);

    printf("one source, %u packets of %u bytes every %u ms, to N listeners over 127.0.0.1\n",
           packets, kPacketTotal, kPacketMs);
    printf("latency: source send to listener read, in us (a reader thread per %u listeners)\n",
           static_cast<unsigned>(kListenersPerReader));
    printf("cpu: Orvane = the whole OrvaneHost process; minimal = its one relay thread\n\n");
    printf("%-8s %9s %6s %10s %9s %8s %8s %8s %8s %11s %8s\n", "relay", "listeners", "sent",
           "delivered", "pkt/s", "p50", "p90", "p99", "max", "cpu us/pkt", "cpu s");

    std::vector<size_t> counts = {1, 10, 50, 200};
    if (argc > 2) { // a comma-separated list of listener counts
        counts.clear();
        for (char* p = argv[2]; *p;) {
            char* end = nullptr;
            unsigned long n = strtoul(p, &end, 10);
            if (n >= 1 && n <= 500)
                counts.push_back(n);
            p = *end ? end + 1 : end;
        }
    }
    int failures = 0;
    for (size_t listeners : counts) {
        std::unique_ptr<Relay> relays[] = {std::unique_ptr<Relay>(new OrvaneRelay()),
                                           std::unique_ptr<Relay>(new MinimalRelay())};
        Result results[2];
        bool ran[2] = {false, false};
        for (int i = 0; i < 2; ++i) {
            auto& relay = relays[i];
            Result& result = results[i];
            if (!relay->Start() || !RunTraffic(*relay, listeners, packets, result)) {
                printf("%-8s %9u  failed\n", relay->Name(), static_cast<unsigned>(listeners));
                ++failures;
            } else {
                Print(relay->Name(), listeners, result);
                ran[i] = true;
            }
            relay->Stop();
        }
        if (ran[0] && ran[1] && (listeners == 50 || listeners == 200)) {
            char row[80];
            snprintf(row, sizeof row, "Orvane to %u listeners, packets delivered",
                     static_cast<unsigned>(listeners));
            BenchRow(row, static_cast<double>(results[0].delivered),
                     static_cast<double>(results[1].delivered), "packets", ">=", 1.0);
            snprintf(row, sizeof row, "Orvane to %u listeners, p99 latency",
                     static_cast<unsigned>(listeners));
            BenchRow(row, Percentile(results[0].latencyUs, 0.99),
                     Percentile(results[1].latencyUs, 0.99), "us", "<=", 1.0);
            snprintf(row, sizeof row, "Orvane to %u listeners, CPU per packet",
                     static_cast<unsigned>(listeners));
            auto perPacket = [](const Result& r) {
                return r.delivered ? r.cpuSeconds * 1e6 / r.delivered : 0.0;
            };
            BenchRow(row, perPacket(results[0]), perPacket(results[1]), "us", "<=", 1.5);
        }
    }
    timeEndPeriod(1);
    WSACleanup();
    return failures ? 1 : 0;
}
