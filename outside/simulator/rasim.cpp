// rasim: serves simulated remote access servers on loopback addresses, UDP port 1549.
//
//   rasim CONFIG [--lease FILE] [--quiet]
//
// Binds one socket per configured server, prints "ready N" on standard output once all of them
// listen, and answers until SIGINT or SIGTERM. With --lease it also ends as soon as nobody holds a
// lock on FILE any more: the program that started it locks the file first and only has to let go (or
// end, for whatever reason) to stop it. Beside the lease, FILE.status tells how the simulator is:
// "ready N", "error: ..." or "stopped". Bind failures end the program with status 2; a bad configuration
// ends it with status 1.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <queue>
#include <sstream>
#include <vector>
#include "Responder.h"
#include "SimConfig.h"

namespace {

using Clock = std::chrono::steady_clock;

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

struct Pending {
    Clock::time_point due;
    size_t server;
    sockaddr_in to;
    std::vector<uint8_t> data;
    bool operator>(const Pending& o) const { return due > o.due; }
};

struct Counters {
    unsigned long requests = 0, ignored = 0, answers = 0, corrupted = 0, sendFailures = 0;
};

std::string AddressText(uint32_t a, uint16_t port)
{
    char b[32];
    snprintf(b, sizeof b, "%u.%u.%u.%u:%u", a >> 24, (a >> 16) & 255, (a >> 8) & 255, a & 255, port);
    return b;
}

// True while some process holds a lock on the lease file.
bool LeaseHeld(int fd)
{
    struct flock probe;
    memset(&probe, 0, sizeof probe);
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    if (fcntl(fd, F_GETLK, &probe) != 0) return false;
    return probe.l_type != F_UNLCK;
}

// Replaces the status file in one step, so that a reader never sees half a line.
void WriteStatus(const std::string& lease, const std::string& text)
{
    if (lease.empty()) return;
    std::string status = lease + ".status";
    std::string temporary = status + ".tmp";
    FILE* f = fopen(temporary.c_str(), "w");
    if (!f) return;
    fprintf(f, "%s\n", text.c_str());
    fclose(f);
    rename(temporary.c_str(), status.c_str());
}

void RaiseFileLimit(size_t wanted)
{
    rlimit r;
    if (getrlimit(RLIMIT_NOFILE, &r) != 0 || r.rlim_cur >= wanted) return;
    r.rlim_cur = r.rlim_max == RLIM_INFINITY || r.rlim_max > wanted ? wanted : r.rlim_max;
    setrlimit(RLIMIT_NOFILE, &r);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* path = nullptr;
    std::string lease;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--lease") == 0 && i + 1 < argc)
            lease = argv[++i];
        else if (strcmp(argv[i], "--quiet") == 0)
            quiet = true;
        else if (!path && argv[i][0] != '-')
            path = argv[i];
        else {
            fprintf(stderr, "usage: rasim CONFIG [--lease FILE] [--quiet]\n");
            return 1;
        }
    }
    if (!path) {
        fprintf(stderr, "usage: rasim CONFIG [--lease FILE] [--quiet]\n");
        return 1;
    }
    int leaseFd = -1;
    if (!lease.empty()) {
        leaseFd = open(lease.c_str(), O_RDONLY | O_CLOEXEC);
        if (leaseFd < 0 || !LeaseHeld(leaseFd)) {
            fprintf(stderr, "rasim: nobody holds the lease %s\n", lease.c_str());
            WriteStatus(lease, "error: nobody holds the lease");
            return 1;
        }
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fprintf(stderr, "rasim: cannot read %s\n", path);
        WriteStatus(lease, std::string("error: cannot read ") + path);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    sim::Config config;
    std::string error;
    if (!sim::ParseConfig(text.str(), config, error)) {
        fprintf(stderr, "rasim: %s: %s\n", path, error.c_str());
        WriteStatus(lease, "error: " + error);
        return 1;
    }

    signal(SIGPIPE, SIG_IGN);
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    RaiseFileLimit(config.servers.size() + 64);

    int ep = epoll_create1(EPOLL_CLOEXEC);
    if (ep < 0) {
        perror("rasim: epoll_create1");
        return 2;
    }
    std::vector<int> sockets;
    for (size_t i = 0; i < config.servers.size(); ++i) {
        const sim::Server& s = config.servers[i];
        int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in addr;
        memset(&addr, 0, sizeof addr);
        addr.sin_family = AF_INET;
        addr.sin_port = htons(s.port);
        addr.sin_addr.s_addr = htonl(s.address);
        if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            std::string why = "cannot listen on " + AddressText(s.address, s.port) + ": " + strerror(errno);
            fprintf(stderr, "rasim: %s\n", why.c_str());
            WriteStatus(lease, "error: " + why);
            return 2;
        }
        epoll_event ev;
        memset(&ev, 0, sizeof ev);
        ev.events = EPOLLIN;
        ev.data.u64 = i;
        epoll_ctl(ep, EPOLL_CTL_ADD, fd, &ev);
        sockets.push_back(fd);
    }
    printf("ready %zu\n", config.servers.size());
    fflush(stdout);
    WriteStatus(lease, "ready " + std::to_string(config.servers.size()));
    const int kLeaseCheckMs = 100;
    auto nextLeaseCheck = Clock::now() + std::chrono::milliseconds(kLeaseCheckMs);

    std::mt19937 random(config.seed);
    std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> pending;
    Counters counters;
    std::vector<epoll_event> events(256);
    uint8_t buffer[65536];

    auto send = [&](const Pending& p) {
        ssize_t n = sendto(sockets[p.server], p.data.data(), p.data.size(), 0, reinterpret_cast<const sockaddr*>(&p.to),
                           sizeof p.to);
        if (n < 0)
            ++counters.sendFailures;
        else
            ++counters.answers;
    };

    while (!g_stop) {
        int timeout = -1;
        Clock::time_point wake = Clock::time_point::max();
        if (!pending.empty()) wake = pending.top().due;
        if (leaseFd >= 0) wake = std::min(wake, nextLeaseCheck);
        if (wake != Clock::time_point::max()) {
            auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now()).count();
            timeout = wait < 0 ? 0 : static_cast<int>(wait + 1);
        }
        int n = epoll_wait(ep, events.data(), static_cast<int>(events.size()), timeout);
        if (n < 0 && errno != EINTR) {
            perror("rasim: epoll_wait");
            return 2;
        }
        for (int e = 0; e < n; ++e) {
            size_t index = static_cast<size_t>(events[e].data.u64);
            const sim::Server& server = config.servers[index];
            for (;;) {
                sockaddr_in from;
                socklen_t fromSize = sizeof from;
                ssize_t got = recvfrom(sockets[index], buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
                if (got < 0) break;
                ++counters.requests;
                sim::Reply reply;
                if (!sim::Respond(server, buffer, static_cast<size_t>(got), random, reply)) {
                    ++counters.ignored;
                    continue;
                }
                if (reply.corrupted) ++counters.corrupted;
                Clock::time_point due = Clock::now() + std::chrono::milliseconds(server.delayMs);
                for (auto& d : reply.datagrams) {
                    Pending p{due, index, from, std::move(d)};
                    if (server.delayMs == 0)
                        send(p);
                    else
                        pending.push(std::move(p));
                }
            }
        }
        Clock::time_point now = Clock::now();
        while (!pending.empty() && pending.top().due <= now) {
            send(pending.top());
            pending.pop();
        }
        if (leaseFd >= 0 && now >= nextLeaseCheck) {
            if (!LeaseHeld(leaseFd)) g_stop = 1;
            nextLeaseCheck = now + std::chrono::milliseconds(kLeaseCheckMs);
        }
    }
    for (int fd : sockets) close(fd);
    WriteStatus(lease, "stopped");
    if (!quiet)
        fprintf(stderr, "rasim: %lu requests, %lu ignored, %lu answers sent, %lu corrupted, %lu send failures\n",
                counters.requests, counters.ignored, counters.answers, counters.corrupted, counters.sendFailures);
    return 0;
}
