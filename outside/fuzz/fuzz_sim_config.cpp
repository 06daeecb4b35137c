// The simulator's configuration reader: any text is read or refused with a reason, and every server
// it accepts can describe itself on the wire.
#include <cstdint>
#include <cstdlib>
#include <string>
#include "SimConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sim::Config config;
    std::string error;
    if (!sim::ParseConfig(std::string(reinterpret_cast<const char*>(data), size), config, error)) {
        if (error.empty()) abort();
        return 0;
    }
    uint8_t buffer[wire::kMaxDatagram];
    for (const sim::Server& s : config.servers) {
        if ((s.address >> 24) != 127 || s.description.name.empty()) abort();
        if (wire::EncodeDescription(1, wire::kOk, &s.description, buffer, sizeof buffer) == 0) abort();
        if (wire::EncodePortList(1, wire::kOk, s.groups, 0, buffer, sizeof buffer) == 0) abort();
    }
    return 0;
}
