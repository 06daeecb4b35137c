// How long a search takes to find N simulated servers through QXLNK32 and the engine, how many it
// finds and how many it lists twice, and where the time goes.
//
//   bench_discovery [RUNS]
//
// Scenarios: N = 10, 100 and 531 (the device table's capacity) servers named as a list of known hosts;
// 531 servers of which each drops 5 % of the requests; 10 servers inside a /24 whose other addresses
// stay silent, so the search has to wait for its deadline. Exits with 1 when a search over known hosts
// misses a server or lists one twice.
#include <winsock2.h>
#include <windows.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "outside/engine/EngineStats.h"
#include "outside/simulator/SimulatorLauncher.h"
#include "tests/bridge/BridgeClient.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

struct Scenario {
    const char* name;
    int servers;
    int lossPercent;
    bool silentNeighbours;  // the lookup range covers a whole /24, most of it silent
};

struct Block {
    int a, b;  // servers at 127.a.b.1 onwards, continuing into the next /24s
    std::string Ip(int index) const
    {
        int n = b * 256 + index + 1;
        char text[32];
        snprintf(text, sizeof text, "127.%d.%d.%d", a, n / 256, n % 256);
        return text;
    }
};

std::string Config(const Scenario& s, const Block& block)
{
    std::string text = "seed = 5\n";
    for (int i = 0; i < s.servers; ++i) {
        char name[32];
        snprintf(name, sizeof name, "RAS%03d", i + 1);
        text += "[server]\naddress = " + block.Ip(i) + "\nname = " + name + "\nident = ORD" + std::to_string(i % 7 + 1) +
                "\nversion = 4.5.4p2\ngroups = Command_Shell, All_Ports, Modems\n";
        if (s.lossPercent) text += "loss = " + std::to_string(s.lossPercent) + "\n";
    }
    return text;
}

std::string MakeInstallation(const std::string& methods)
{
    std::string dir = std::string(BUILD_DIR) + "/bench-zantu";
    CreateDirectoryA(SimulatorLauncher::WindowsPath(dir).c_str(), nullptr);
    SimulatorLauncher::WriteUnixFile(dir + "/ZANTU.INI", "[COMM]\r\nIPLookupMethods=" + methods + "\r\n");
    DeleteFileA(SimulatorLauncher::WindowsPath(dir + "/ZNM.DEV").c_str());
    std::string windowsDir = SimulatorLauncher::WindowsPath(dir);
    SetEnvironmentVariableA("ZANTU", windowsDir.c_str());
    return windowsDir;
}

// Winsock alone, without the engine: one search datagram to each server, every one sent before any
// answer is read, then the answers taken. Shows the cost of the calls themselves and what happens to
// answers that pile up unread.
void RawWinsock(const Block& block, int servers)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    int buffer = 1 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local);
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    // The 12-byte search request: magic, protocol 1, kind 1, id 1, no body.
    const char request[12] = {'Z', 'F', 1, 1, 0, 0, 0, 1, 0, 0, 0, 0};
    Clock::time_point t0 = Clock::now();
    for (int i = 0; i < servers; ++i) {
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_port = htons(1549);
        to.sin_addr.s_addr = inet_addr(block.Ip(i).c_str());
        sendto(s, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    double sendMs = Ms(t0);
    Clock::time_point t1 = Clock::now();
    int received = 0;
    char answer[2048];
    Clock::time_point until = Clock::now() + std::chrono::milliseconds(500);
    while (received < servers && Clock::now() < until) {
        if (recv(s, answer, sizeof answer, 0) > 0)
            ++received;
        else
            Sleep(0);
    }
    double receiveMs = Ms(t1);
    closesocket(s);
    WSACleanup();
    printf("%-24s        (Winsock alone: %d sendto %.1f ms = %.0f us each; then %d of %d answers read in %.1f ms%s)\n",
           "", servers, sendMs, 1000 * sendMs / servers, received, servers, receiveMs,
           received < servers ? ", the rest overflowed the unread socket" : "");
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const Scenario scenarios[] = {
        {"known hosts", 10, 0, false},
        {"known hosts", 100, 0, false},
        {"known hosts", 531, 0, false},
        {"known hosts, 5% loss", 531, 5, false},
        {"silent neighbours (/24)", 10, 0, true},
    };
    bool faithful = true;
    int blockA = 200 + static_cast<int>(GetCurrentProcessId() % 50);  // tests use 127.100-199.x.x

    printf("Search through QXLNK32.DLL and QXLNK16.DLL against the simulator (%d runs each; median, min, max in ms)\n\n",
           runs);
    printf("%-24s %5s %6s %5s %5s | %8s %8s %8s | %7s %7s %8s %9s | %6s %5s %6s %5s\n", "scenario", "N", "found",
           "dupl", "miss", "median", "min", "max", "plan", "send1", "lastans", "afterlast", "rounds", "sent", "answrs",
           "early");
    for (size_t si = 0; si < sizeof scenarios / sizeof scenarios[0]; ++si) {
        const Scenario& s = scenarios[si];
        Block block{blockA, static_cast<int>(si) * 4};
        std::string methods = block.Ip(0) + "-" + block.Ip(s.servers - 1);
        if (s.silentNeighbours) {
            std::string first = block.Ip(0);
            methods = first.substr(0, first.rfind('.')) + ".0/24";
        }
        std::string configFile = std::string(BUILD_DIR) + "/bench-sim-" + std::to_string(si) + ".conf";
        SimulatorLauncher simulator;
        Clock::time_point startSim = Clock::now();
        if (!simulator.Start(std::string(NATIVE_BIN_DIR) + "/rasim", configFile, Config(s, block))) {
            printf("cannot start the simulator: %s\n", simulator.Error().c_str());
            return 2;
        }
        double simulatorStart = Ms(startSim);
        MakeInstallation(methods);

        Clock::time_point loadStart = Clock::now();
        BridgeClient bridge(DIST_DIR);
        double loadMs = Ms(loadStart);
        if (!bridge.module) {
            printf("QXLNK32.DLL did not load: error %lu\n", bridge.loadError);
            return 2;
        }
        auto getStats = reinterpret_cast<ENGINE_GET_SEARCH_STATS>(
            GetProcAddress(GetModuleHandleA("QXLNK16.DLL"), "QXLNK16GetSearchStats"));

        std::vector<double> totals, initMs;
        std::vector<ENGINE_SEARCH_STATS> stats;
        int found = 0, duplicates = 0, missing = 0;
        std::vector<HLP_DEVICE_ENTRY> table(531);
        for (int run = 0; run < runs; ++run) {
            Clock::time_point t0 = Clock::now();
            LONG rc = bridge.InitStack(2);
            initMs.push_back(Ms(t0));
            if (rc != 0) {
                printf("HLPInitStack: %ld\n", rc);
                return 2;
            }
            WORD count = 0;
            Clock::time_point t1 = Clock::now();
            rc = bridge.Search(table.data(), 65313, count);
            totals.push_back(Ms(t1));
            bridge.CloseStack(2);
            ENGINE_SEARCH_STATS st = {};
            if (getStats) getStats(&st);
            stats.push_back(st);
            std::set<std::string> seen;
            int dup = 0;
            for (WORD i = 0; i < count; ++i) {
                const BYTE* ip = EntryBytes(table[i], HLP_OFS_IP_ADDR);
                char key[96];
                snprintf(key, sizeof key, "%d.%d.%d.%d/%.48s", ip[0], ip[1], ip[2], ip[3], table[i].szName);
                if (!seen.insert(key).second) ++dup;
            }
            int miss = s.servers - static_cast<int>(seen.size());
            if (rc != 0 || ((dup || miss) && s.lossPercent == 0)) faithful = false;
            found = std::max(found, static_cast<int>(count));
            duplicates += dup;
            missing += miss;
        }
        auto median = [&](double ENGINE_SEARCH_STATS::*field) {
            std::vector<double> v;
            for (const auto& st : stats) v.push_back(st.*field);
            return Median(v);
        };
        auto medianCount = [&](DWORD ENGINE_SEARCH_STATS::*field) {
            std::vector<double> v;
            for (const auto& st : stats) v.push_back(st.*field);
            return Median(v);
        };
        double lastAnswer = median(&ENGINE_SEARCH_STATS::lastAnswerMs);
        printf("%-24s %5d %6d %5d %5d | %8.1f %8.1f %8.1f | %7.2f %7.2f %8.1f %9.1f | %6.0f %5.0f %6.0f %5.0f\n", s.name,
               s.servers, found, duplicates, missing, Median(totals), *std::min_element(totals.begin(), totals.end()),
               *std::max_element(totals.begin(), totals.end()), median(&ENGINE_SEARCH_STATS::planMs),
               median(&ENGINE_SEARCH_STATS::firstRoundMs), lastAnswer, median(&ENGINE_SEARCH_STATS::totalMs) - lastAnswer,
               medianCount(&ENGINE_SEARCH_STATS::rounds), medianCount(&ENGINE_SEARCH_STATS::datagramsSent),
               medianCount(&ENGINE_SEARCH_STATS::answers), medianCount(&ENGINE_SEARCH_STATS::finishedEarly));
        printf("%-24s        (simulator start %.0f ms, QXLNK32+engine load %.1f ms, HLPInitStack median %.2f ms)\n", "",
               simulatorStart, loadMs, Median(initMs));
        if (s.lossPercent == 0 && !s.silentNeighbours && s.servers >= 100) RawWinsock(block, s.servers);
    }
    printf("\nfound: entries in the table (best run); dupl, miss: summed over the runs; plan: reading the settings\n"
           "and ZNM.DEV; send1: until the first round of requests was sent; lastans: until the last listed answer;\n"
           "afterlast: from then until the search returned; early: 1 when every known host answered before the deadline.\n");
    return faithful ? 0 : 1;
}
