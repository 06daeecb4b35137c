#include "Responder.h"
#include <cstring>

namespace sim {

namespace {

unsigned Percent(std::mt19937& random) { return static_cast<unsigned>(random() % 100); }

// Damages a well-formed answer in one of the ways a faulty server or network could.
void Corrupt(std::vector<uint8_t>& d, Corruption how, std::mt19937& random)
{
    if (how == Corruption::kAny) how = static_cast<Corruption>(random() % 7);
    switch (how) {
    case Corruption::kTruncate:
        d.resize(random() % d.size());
        break;
    case Corruption::kLength:
        d[10] ^= 0x01;
        break;
    case Corruption::kMagic:
        d[0] = 'X';
        break;
    case Corruption::kId:
        d[7] ^= 0x5A;
        break;
    case Corruption::kText:
        // The first text claims more bytes than the datagram holds.
        {
            size_t at = wire::kHeaderSize + (d[3] == wire::kPortList ? 5 : 0);
            if (at < d.size())
                d[at] = 0xFF;
            else
                d.push_back(0xFF);
        }
        break;
    case Corruption::kControl:
        // Well-formed, but the last byte of the datagram (inside a text or a number) becomes a control
        // character; for a description the name is given a line break.
        if (d[3] == wire::kDescription && d.size() > wire::kHeaderSize + 2) {
            size_t typeLen = d[wire::kHeaderSize];
            size_t identAt = wire::kHeaderSize + 1 + typeLen;
            if (identAt < d.size()) {
                size_t nameAt = identAt + 1 + d[identAt];
                if (nameAt + 1 < d.size() && d[nameAt] > 0) d[nameAt + 1] = '\n';
            }
        } else if (d.size() > wire::kHeaderSize + 6) {
            d[wire::kHeaderSize + 6] = '\t';
        }
        break;
    case Corruption::kGarbage: {
        size_t n = random() % 200;
        d.resize(n);
        for (uint8_t& b : d) b = static_cast<uint8_t>(random());
        break;
    }
    case Corruption::kAny:
        break;
    }
}

}  // namespace

bool Respond(const Server& server, const uint8_t* data, size_t size, std::mt19937& random, Reply& reply)
{
    reply = Reply();
    wire::Request request;
    if (!wire::DecodeRequest(data, size, request)) return false;
    if (server.lossPercent > 0 && Percent(random) < server.lossPercent) return false;

    uint8_t buffer[wire::kMaxDatagram];
    size_t n = 0;
    switch (request.kind) {
    case wire::kSearch:
        n = wire::EncodeDescription(request.id, server.tcpip ? wire::kOk : wire::kNoTcpDialOut, &server.description,
                                    buffer, sizeof buffer);
        break;
    case wire::kInfo: {
        wire::Status status = wire::kOk;
        if (!request.community.empty() && request.community != server.community)
            status = wire::kRefused;
        else if (!server.tcpip)
            status = wire::kNoTcpDialOut;
        n = wire::EncodeDescription(request.id, status, &server.description, buffer, sizeof buffer);
        break;
    }
    case wire::kPorts:
        if (request.first > server.groups.size()) return false;
        n = wire::EncodePortList(request.id, server.tcpip ? wire::kOk : wire::kNoTcpDialOut, server.groups,
                                 request.first, buffer, sizeof buffer);
        break;
    default:
        return false;
    }
    if (n == 0) return false;
    std::vector<uint8_t> answer(buffer, buffer + n);
    if (server.malformedPercent > 0 && Percent(random) < server.malformedPercent) {
        Corrupt(answer, server.corruption, random);
        reply.corrupted = true;
    }
    for (unsigned i = 0; i < server.repeat; ++i) reply.datagrams.push_back(answer);
    return true;
}

}  // namespace sim
