// The simulator's side of the wire: any datagram goes through the request decoder and the answer
// builder. A sound server's answer must always decode again and carry the request's id; a faulty
// server's answer may be anything, but building it must stay inside its buffers.
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include "Responder.h"
#include "SimConfig.h"

namespace {

void Check(bool condition)
{
    if (!condition) abort();
}

sim::Server MakeServer(const char* groups, bool faulty)
{
    sim::Config config;
    std::string error;
    std::string text = std::string("[server]\naddress = 127.0.0.1\nname = ") + std::string(47, 'N') +
                       "\ntype = " + std::string(47, 'T') + "\nident = ORD12345\ngroups = " + groups + "\n";
    if (faulty) text += "malformed = 100 any\nrepeat = 2\n";
    if (!sim::ParseConfig(text, config, error)) abort();
    return config.servers[0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::string manyGroups;
    if (manyGroups.empty())
        for (int i = 0; i < 300; ++i) manyGroups += (i ? ", " : "") + std::string(40 + i % 200, 'g') + std::to_string(i);
    static const sim::Server sound = MakeServer(manyGroups.c_str(), false);
    static const sim::Server faulty = MakeServer("Command_Shell, All_Ports", true);
    std::mt19937 random(static_cast<uint32_t>(size));

    wire::Request request;
    bool isRequest = wire::DecodeRequest(data, size, request);
    sim::Reply reply;
    bool answered = sim::Respond(sound, data, size, random, reply);
    Check(!answered || isRequest);
    if (answered) {
        Check(reply.datagrams.size() == 1 && !reply.corrupted);
        const auto& d = reply.datagrams[0];
        wire::Answer answer;
        Check(wire::DecodeAnswer(d.data(), d.size(), answer));
        Check(answer.id == request.id);
        if (request.kind == wire::kPorts)
            Check(answer.page.first == request.first && (answer.page.count > 0 || answer.page.first == answer.page.total));
    }
    if (sim::Respond(faulty, data, size, random, reply)) {
        for (const auto& d : reply.datagrams) {
            wire::Answer answer;
            wire::DecodeAnswer(d.data(), d.size(), answer);
        }
    }
    return 0;
}
