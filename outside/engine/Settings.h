// Where the engine looks: the ZANTU directory, the IPLookupMethods text and the servers in ZNM.DEV.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "wire/LookupMethods.h"

namespace engine {

struct Settings {
    std::string directory;             // the ZANTU directory, without trailing backslash
    std::vector<lookup::Item> items;   // the lookup methods, sections expanded
};

// Reads ZANTU and ZANTU.INI; returns 0 or -10 (no ZANTU or no ZANTU.INI), -80 (malformed text),
// -81 (a named section missing).
long LoadSettings(Settings& settings);

// The IPv4 addresses recorded in ZNM.DEV ("IPAddress" of each section), in file order, at most limit.
std::vector<uint32_t> RecordedServers(const std::string& directory, size_t limit);

}  // namespace engine
