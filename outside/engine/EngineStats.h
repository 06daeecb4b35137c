// Figures of the engine's last search, exported as "QXLNK16GetSearchStats" for the benchmarks.
#pragma once
#include <windows.h>

struct ENGINE_SEARCH_STATS {
    DWORD unicastTargets;    // host addresses asked
    DWORD broadcastTargets;  // broadcast addresses asked
    DWORD rounds;            // sending rounds (the first and the repeats to hosts still silent)
    DWORD datagramsSent;
    DWORD sendFailures;
    DWORD answers;           // datagrams received
    DWORD listed;            // entries written to the table
    DWORD duplicates;        // answers from a server already seen
    DWORD malformed;         // datagrams refused by the decoder
    DWORD stray;             // well-formed datagrams of another kind, request or sender
    DWORD filtered;          // servers left out by name, type or version
    DWORD declined;          // servers that answered with a refusal status
    DWORD overflow;          // servers that did not fit in the table
    DWORD finishedEarly;     // 1 when every asked host answered before the deadline
    double planMs;           // reading ZNM.DEV, resolving names, finding interfaces
    double firstRoundMs;     // from the start until the first round was sent
    double lastAnswerMs;     // from the start until the last accepted answer
    double totalMs;          // from the start until the search returned
};

typedef void(__cdecl* ENGINE_GET_SEARCH_STATS)(ENGINE_SEARCH_STATS* stats);
