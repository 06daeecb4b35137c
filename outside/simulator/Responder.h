// What one simulated server answers to one datagram, with the faults its configuration asks for.
#pragma once
#include <cstdint>
#include <random>
#include <vector>
#include "SimConfig.h"

namespace sim {

struct Reply {
    std::vector<std::vector<uint8_t>> datagrams;  // to send back, in order, after the delay
    bool corrupted = false;
};

// Reads a request; returns false (nothing to send) for anything malformed, and for a request the loss
// setting drops. Otherwise fills reply with the answer, corrupted when the malformed setting says so,
// repeated as often as the repeat setting says.
bool Respond(const Server& server, const uint8_t* data, size_t size, std::mt19937& random, Reply& reply);

}  // namespace sim
