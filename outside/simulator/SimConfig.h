// The server simulator's configuration: many simulated remote access servers, each on its own
// loopback address. The file is line-based:
//
//   # or ; starts a comment line
//   seed = 7                     random seed for loss and corruption (before the first [server])
//   [server]                     starts one server; the keys below belong to it
//   address = 127.20.0.1         required; must lie in 127.0.0.0/8
//   port = 1549
//   name = ALPHA                 required; at most 47 characters
//   type = Farline Remote Access Server
//   ident = ORD3                 hardware type code, at most 8 characters
//   version = 4.5.4p2            major.minor.revision, then a release letter and number, or nothing for a
//                                final release; letters u b a f p
//   release_code = 0x60          overrides the code the letter gives
//   usable = yes
//   groups = Command_Shell, All_Ports, Modems East
//   community = marlow           an info request naming another community is refused
//   tcpip = yes                  no: the server answers that it offers no dial-out over TCP/IP
//   delay = 250                  milliseconds before each answer
//   loss = 30                    percent of requests left unanswered
//   malformed = 100 truncate     percent of answers corrupted, and how: truncate, length, magic, id,
//                                text, control, garbage or any
//   repeat = 1                   copies sent of each answer
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "wire/Wire.h"

namespace sim {

enum class Corruption { kTruncate, kLength, kMagic, kId, kText, kControl, kGarbage, kAny };

struct Server {
    uint32_t address = 0;  // host order
    uint16_t port = wire::kPort;
    wire::Description description;
    std::vector<std::string> groups;
    std::string community = "marlow";
    bool tcpip = true;
    unsigned delayMs = 0;
    unsigned lossPercent = 0;
    unsigned malformedPercent = 0;
    Corruption corruption = Corruption::kAny;
    unsigned repeat = 1;
};

struct Config {
    uint32_t seed = 1;
    std::vector<Server> servers;
};

// Most servers one process serves.
constexpr size_t kMaxServers = 4096;

// Reads a configuration text. false with "line N: reason" for anything it does not understand.
bool ParseConfig(const std::string& text, Config& config, std::string& error);

// "4.5.4p2" and the like into a version; false when malformed.
bool ParseVersion(const std::string& text, wire::Version& version);

}  // namespace sim
