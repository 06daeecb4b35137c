#include <winsock2.h>
#include "Engine.h"
#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include "EngineCodes.h"
#include "Net.h"
#include "Settings.h"
#include "wire/HlpFill.h"
#include "wire/Wire.h"

namespace engine {

namespace {

static_assert(hlpfill::kEntrySize == sizeof(HLP_DEVICE_ENTRY), "entry size");
static_assert(hlpfill::kFoundSize == sizeof(HLP_FOUND_DEVICE), "found size");
static_assert(hlpfill::kServerInfo16Size == sizeof(HLP_SERVER_INFO16), "server info size");
static_assert(hlpfill::kOfsInfoFlag1 == offsetof(HLP_SERVER_INFO16, flag1), "flag 1 offset");
static_assert(hlpfill::kOfsInfoFlag2 == offsetof(HLP_SERVER_INFO16, flag2), "flag 2 offset");
static_assert(hlpfill::kPortNameSize == sizeof(HLP_PORT_NAME), "port name size");

const WORD kTcpIp = 2;
const WORD kIpx = 200;
const WORD kService = 1;                     // the only service class: remote access servers
const unsigned kDefaultWaitSeconds = 3;
const unsigned kLongestWaitSeconds = 60;
const size_t kMostRecordedServers = 1024;    // read from ZNM.DEV
const size_t kMostAddressesPerName = 8;
// Repeats to hosts still silent: 200 ms after the first send, then every 400 ms.
const int kFirstRepeatMs = 200;
const int kRepeatMs = 400;

struct State {
    std::mutex lock;
    int attached = 0;  // nesting of InitStack(2) calls
    Settings settings;
    ENGINE_SEARCH_STATS stats = {};
};

State& TheState()
{
    static State state;
    return state;
}

Clock::duration Seconds(WORD wait)
{
    unsigned s = wait == 0 ? kDefaultWaitSeconds : std::min<unsigned>(wait, kLongestWaitSeconds);
    return std::chrono::seconds(s);
}

void IpBytes(uint32_t address, uint8_t out[4])
{
    out[0] = static_cast<uint8_t>(address >> 24);
    out[1] = static_cast<uint8_t>(address >> 16);
    out[2] = static_cast<uint8_t>(address >> 8);
    out[3] = static_cast<uint8_t>(address);
}

// The server a query is about, from the caller's address block.
LONG ReadAddress(const BYTE* block, uint32_t& address, uint16_t& port)
{
    if (!block) return ENGINE_BAD_CALL;
    WORD transport = static_cast<WORD>(block[0] | (block[1] << 8));
    if (transport == kIpx) return ENGINE_NO_PROTOCOL;
    if (transport != kTcpIp) return ENGINE_BAD_CALL;
    WORD family = static_cast<WORD>(block[2] | (block[3] << 8));
    if (family != 2) return ENGINE_BAD_CALL;
    port = static_cast<uint16_t>(block[4] | (block[5] << 8));
    if (port == 0) port = wire::kPort;
    address = (uint32_t(block[6]) << 24) | (uint32_t(block[7]) << 16) | (uint32_t(block[8]) << 8) | block[9];
    return ENGINE_OK;
}

LONG StatusResult(wire::Status status)
{
    switch (status) {
    case wire::kOk: return ENGINE_OK;
    case wire::kRefused: return ENGINE_REFUSED;
    case wire::kNoTcpDialOut: return ENGINE_NO_TCP_DIAL_OUT;
    }
    return ENGINE_NETWORK_ERROR;
}

struct Target {
    uint32_t address;
    uint16_t port;
};

// Sends one request to the targets and waits for the first acceptable answer from one of them,
// repeating the request while none has come, until the deadline. 0, -55 when nobody answered,
// -56 when nothing could be sent, -57 or -2 on a socket failure.
LONG Exchange(const std::vector<Target>& targets, const wire::Request& request, wire::Kind expect,
              Clock::time_point deadline, const std::function<bool(const wire::Answer&)>& acceptable,
              wire::Answer& answer, Target& from)
{
    UdpSocket socket;
    LONG rc = socket.Open(false);
    if (rc != ENGINE_OK) return rc;
    uint8_t datagram[wire::kMaxDatagram];
    size_t length = wire::EncodeRequest(request, datagram, sizeof datagram);
    if (length == 0) return ENGINE_BAD_CALL;
    Clock::time_point start = Clock::now();
    Clock::time_point nextSend = start;
    int interval = kFirstRepeatMs;
    uint8_t buffer[wire::kMaxDatagram + 1];
    while (Clock::now() < deadline) {
        if (Clock::now() >= nextSend) {
            bool sent = false;
            for (const Target& t : targets) sent = socket.SendTo(t.address, t.port, datagram, length) || sent;
            if (!sent && nextSend == start) return ENGINE_SEND_FAILED;
            nextSend = Clock::now() + std::chrono::milliseconds(interval);
            interval = kRepeatMs;
        }
        if (!socket.WaitReadable(std::min(nextSend, deadline))) return ENGINE_TCPIP_ERROR;
        for (;;) {
            size_t size = 0;
            uint32_t address = 0;
            uint16_t port = 0;
            int got = socket.Receive(buffer, sizeof buffer, size, address, port);
            if (got < 0) return got;
            if (got == 0) break;
            bool known = false;
            for (const Target& t : targets) known = known || (t.address == address && t.port == port);
            if (!known) continue;
            wire::Answer a;
            if (!wire::DecodeAnswer(buffer, size, a) || a.kind != expect || a.id != request.id) continue;
            if (a.status == wire::kOk && !acceptable(a)) continue;
            answer = std::move(a);
            from = Target{address, port};
            return ENGINE_OK;
        }
    }
    return ENGINE_NOT_FOUND;
}

// Where a search sends its requests.
struct Plan {
    std::vector<uint32_t> hosts;       // unique, in first-mention order
    std::vector<uint32_t> broadcasts;
};

Plan MakePlan(const Settings& settings)
{
    Plan plan;
    std::unordered_set<uint32_t> seen;
    auto addHost = [&](uint32_t a) {
        if (plan.hosts.size() < lookup::kMaxTargets + kMostRecordedServers && seen.insert(a).second)
            plan.hosts.push_back(a);
    };
    for (const lookup::Item& item : settings.items) {
        switch (item.kind) {
        case lookup::Item::kBroadcast:
            for (uint32_t b : InterfaceBroadcasts())
                if (std::find(plan.broadcasts.begin(), plan.broadcasts.end(), b) == plan.broadcasts.end())
                    plan.broadcasts.push_back(b);
            break;
        case lookup::Item::kRange:
            for (uint64_t a = item.first; a <= item.last; ++a) addHost(static_cast<uint32_t>(a));
            break;
        case lookup::Item::kHost:
            for (uint32_t a : Resolve(item.text, kMostAddressesPerName)) addHost(a);
            break;
        case lookup::Item::kSection:
            break;  // expanded when the settings were read
        }
    }
    for (uint32_t a : RecordedServers(settings.directory, kMostRecordedServers)) addHost(a);
    return plan;
}

LONG Search(WORD transport, WORD service, LPCSTR name, LPCSTR type, BYTE* table, WORD tableSize, WORD* count,
            WORD wait, const HLP_VERSION* minimum)
{
    State& state = TheState();
    ENGINE_SEARCH_STATS stats = {};
    Clock::time_point start = Clock::now();
    auto finish = [&](LONG rc) {
        stats.totalMs = MillisecondsSince(start);
        state.stats = stats;
        return rc;
    };
    if (transport == kIpx) return finish(ENGINE_NO_PROTOCOL);
    if (transport != kTcpIp || state.attached == 0 || service != kService || !table || !count)
        return finish(ENGINE_BAD_CALL);
    *count = 0;
    wire::Version least;
    if (minimum) least = wire::Version{minimum->major, minimum->minor, minimum->revision, 0, 0};

    Plan plan = MakePlan(state.settings);
    stats.unicastTargets = static_cast<DWORD>(plan.hosts.size());
    stats.broadcastTargets = static_cast<DWORD>(plan.broadcasts.size());
    stats.planMs = MillisecondsSince(start);
    if (plan.hosts.empty() && plan.broadcasts.empty()) return finish(ENGINE_NOWHERE_TO_LOOK);

    UdpSocket socket;
    LONG rc = socket.Open(!plan.broadcasts.empty());
    if (rc != ENGINE_OK) return finish(rc);

    wire::Request request;
    request.kind = wire::kSearch;
    request.id = NewRequestId();
    uint8_t datagram[wire::kMaxDatagram];
    size_t length = wire::EncodeRequest(request, datagram, sizeof datagram);
    if (length == 0) return finish(ENGINE_BAD_CALL);

    std::unordered_map<uint32_t, bool> answered;  // host asked → has answered
    for (uint32_t h : plan.hosts) answered.emplace(h, false);
    size_t silent = plan.hosts.size();
    std::unordered_set<uint32_t> listedFrom;
    const size_t capacity = tableSize / sizeof(HLP_DEVICE_ENTRY);
    size_t listed = 0;
    uint8_t buffer[wire::kMaxDatagram + 1];

    // Takes every datagram waiting; a receive failure ends the search.
    auto drain = [&]() -> LONG {
        for (;;) {
            size_t size = 0;
            uint32_t address = 0;
            uint16_t port = 0;
            int got = socket.Receive(buffer, sizeof buffer, size, address, port);
            if (got < 0) return got;
            if (got == 0) return ENGINE_OK;
            ++stats.answers;
            auto asked = answered.find(address);
            // Without broadcasts only the hosts asked can answer.
            if (asked == answered.end() && plan.broadcasts.empty()) {
                ++stats.stray;
                continue;
            }
            wire::Answer answer;
            if (!wire::DecodeAnswer(buffer, size, answer)) {
                ++stats.malformed;
                continue;
            }
            if (answer.kind != wire::kDescription || answer.id != request.id) {
                ++stats.stray;
                continue;
            }
            if (asked != answered.end() && !asked->second) {
                asked->second = true;
                --silent;
            }
            if (answer.status != wire::kOk) {
                ++stats.declined;
                continue;
            }
            if (!listedFrom.insert(address).second) {
                ++stats.duplicates;
                continue;
            }
            const wire::Description& d = answer.description;
            if (!wire::GlobMatch(name, d.name.c_str()) || !wire::GlobMatch(type, d.type.c_str()) ||
                !wire::AtLeast(d.version, least)) {
                ++stats.filtered;
                continue;
            }
            if (listed >= capacity) {
                ++stats.overflow;
                continue;
            }
            uint8_t ip[4];
            IpBytes(address, ip);
            hlpfill::FillEntry(table + listed * sizeof(HLP_DEVICE_ENTRY), d, ip, port);
            ++listed;
            stats.lastAnswerMs = MillisecondsSince(start);
        }
    };

    // One round: every broadcast address and every host still silent, taking answers in between
    // so that the receive buffer never overflows however many servers answer at once.
    auto sendRound = [&]() -> LONG {
        ++stats.rounds;
        DWORD sentBefore = stats.datagramsSent;
        size_t sinceDrain = 0;
        auto one = [&](uint32_t address) -> LONG {
            if (socket.SendTo(address, wire::kPort, datagram, length))
                ++stats.datagramsSent;
            else
                ++stats.sendFailures;
            if (++sinceDrain == 32) {
                sinceDrain = 0;
                return drain();
            }
            return ENGINE_OK;
        };
        for (uint32_t b : plan.broadcasts)
            if ((rc = one(b)) != ENGINE_OK) return rc;
        for (uint32_t h : plan.hosts)
            if (!answered[h] && (rc = one(h)) != ENGINE_OK) return rc;
        if (stats.rounds == 1 && stats.datagramsSent == sentBefore) return ENGINE_SEND_FAILED;
        return drain();
    };

    Clock::time_point deadline = start + Seconds(wait);
    Clock::time_point nextRound = start;
    int interval = kFirstRepeatMs;
    for (;;) {
        if (plan.broadcasts.empty() && silent == 0) {
            stats.finishedEarly = 1;
            break;
        }
        Clock::time_point now = Clock::now();
        if (now >= deadline) break;
        if (now >= nextRound) {
            if ((rc = sendRound()) != ENGINE_OK) return finish(rc);
            if (stats.rounds == 1) stats.firstRoundMs = MillisecondsSince(start);
            nextRound = Clock::now() + std::chrono::milliseconds(interval);
            interval = kRepeatMs;
            continue;
        }
        if (!socket.WaitReadable(std::min(nextRound, deadline))) return finish(ENGINE_TCPIP_ERROR);
        if ((rc = drain()) != ENGINE_OK) return finish(rc);
    }
    stats.listed = static_cast<DWORD>(listed);
    *count = static_cast<WORD>(listed);
    return finish(stats.overflow ? ENGINE_TABLE_FULL : ENGINE_OK);
}

}  // namespace

LONG InitStack(WORD transport)
{
    if (transport != kTcpIp) return ENGINE_NO_PROTOCOL;  // IPX is not available on this engine
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return ENGINE_NO_WINSOCK;
    if (LOBYTE(data.wVersion) < 1 || (LOBYTE(data.wVersion) == 1 && HIBYTE(data.wVersion) < 1)) {
        WSACleanup();
        return ENGINE_OLD_WINSOCK;
    }
    Settings settings;
    LONG rc = LoadSettings(settings);
    if (rc != ENGINE_OK) {
        WSACleanup();
        return rc;
    }
    state.settings = std::move(settings);
    ++state.attached;
    return ENGINE_OK;
}

LONG CloseStack(WORD transport)
{
    if (transport != kTcpIp) return ENGINE_NO_PROTOCOL;
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.attached == 0) return ENGINE_BAD_CALL;
    --state.attached;
    WSACleanup();
    return ENGINE_OK;
}

LONG FindDevices(WORD transport, WORD service, LPCSTR name, LPCSTR type, BYTE* table, WORD tableSize, WORD* count,
                 WORD wait, const HLP_VERSION* minimum)
{
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    try {
        return Search(transport, service, name, type, table, tableSize, count, wait, minimum);
    } catch (const std::bad_alloc&) {
        return ENGINE_NO_MEMORY;
    }
}

LONG GetSerialNames(WORD transport, WORD service, const BYTE* address, BYTE* names, WORD namesSize, WORD* count,
                    WORD wait)
{
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    if (transport == kIpx) return ENGINE_NO_PROTOCOL;
    if (transport != kTcpIp || state.attached == 0 || service != kService || !names || !count) return ENGINE_BAD_CALL;
    *count = 0;
    Target target;
    LONG rc = ReadAddress(address, target.address, target.port);
    if (rc != ENGINE_OK) return rc;
    try {
        const size_t capacity = namesSize / sizeof(HLP_PORT_NAME);
        Clock::time_point deadline = Clock::now() + Seconds(wait);
        size_t stored = 0;
        uint16_t next = 0;
        for (;;) {
            wire::Request request;
            request.kind = wire::kPorts;
            request.id = NewRequestId();
            request.first = next;
            wire::Answer answer;
            Target from;
            rc = Exchange({target}, request, wire::kPortList, deadline,
                          [&](const wire::Answer& a) { return a.page.first == next; }, answer, from);
            if (rc != ENGINE_OK) return rc;
            if (answer.status != wire::kOk) return StatusResult(answer.status);
            const wire::PortPage& page = answer.page;
            for (const std::string& n : page.names) {
                if (stored == capacity) break;
                hlpfill::CopyText(names + stored * sizeof(HLP_PORT_NAME), sizeof(HLP_PORT_NAME), n);
                ++stored;
            }
            next = static_cast<uint16_t>(page.first + page.count);
            // Past the buffer's 16384 bytes the remaining groups are left out.
            if (next >= page.total || stored == capacity) break;
        }
        *count = static_cast<WORD>(stored);
        return ENGINE_OK;
    } catch (const std::bad_alloc&) {
        return ENGINE_NO_MEMORY;
    }
}

LONG GetServerInfo(const BYTE* address, HLP_SERVER_INFO16* info, WORD wait)
{
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.attached == 0 || !info) return ENGINE_BAD_CALL;
    Target target;
    LONG rc = ReadAddress(address, target.address, target.port);
    if (rc != ENGINE_OK) return rc;
    try {
        wire::Request request;
        request.kind = wire::kInfo;
        request.id = NewRequestId();
        wire::Answer answer;
        Target from;
        rc = Exchange({target}, request, wire::kDescription, Clock::now() + Seconds(wait),
                      [](const wire::Answer&) { return true; }, answer, from);
        if (rc != ENGINE_OK) return rc;
        if (answer.status != wire::kOk) return StatusResult(answer.status);
        hlpfill::FillServerInfo16(reinterpret_cast<uint8_t*>(info), answer.description);
        return ENGINE_OK;
    } catch (const std::bad_alloc&) {
        return ENGINE_NO_MEMORY;
    }
}

LONG FindADevice(const BYTE* address, LPCSTR hostName, BYTE* found, WORD wait, LPCSTR community)
{
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.attached == 0 || !found || (address == nullptr) == (hostName == nullptr)) return ENGINE_BAD_CALL;
    try {
        std::vector<Target> targets;
        if (address) {
            Target t;
            LONG rc = ReadAddress(address, t.address, t.port);
            if (rc != ENGINE_OK) return rc;
            targets.push_back(t);
        } else {
            size_t length = strnlen(hostName, 256);
            if (!lookup::IsHostName(hostName, length)) return ENGINE_NAME_NOT_FOUND;
            for (uint32_t a : Resolve(std::string(hostName, length), kMostAddressesPerName))
                targets.push_back(Target{a, wire::kPort});
            if (targets.empty()) return ENGINE_NAME_NOT_FOUND;
        }
        wire::Request request;
        request.kind = wire::kInfo;
        request.id = NewRequestId();
        if (community) request.community.assign(community, strnlen(community, wire::kCommunityMax));
        wire::Answer answer;
        Target from;
        LONG rc = Exchange(targets, request, wire::kDescription, Clock::now() + Seconds(wait),
                           [](const wire::Answer&) { return true; }, answer, from);
        if (rc != ENGINE_OK) return rc;
        if (answer.status != wire::kOk) return StatusResult(answer.status);
        uint8_t ip[4];
        IpBytes(from.address, ip);
        hlpfill::FillFound(found, answer.description, ip, from.port);
        return ENGINE_OK;
    } catch (const std::bad_alloc&) {
        return ENGINE_NO_MEMORY;
    }
}

void LastSearchStats(ENGINE_SEARCH_STATS* stats)
{
    if (!stats) return;
    State& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    *stats = state.stats;
}

}  // namespace engine
