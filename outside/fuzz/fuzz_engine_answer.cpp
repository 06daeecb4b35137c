// The engine's side of the wire: any datagram from the network goes through the answer decoder, and
// whatever it accepts is written into the engine's fixed records. Nothing may read or write outside a
// buffer, and every text field must end up NUL-terminated.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include "wire/HlpFill.h"
#include "wire/Wire.h"

namespace {

void Check(bool condition)
{
    if (!condition) abort();
}

bool Terminated(const uint8_t* field, size_t size) { return memchr(field, 0, size) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    wire::Answer answer;
    if (!wire::DecodeAnswer(data, size, answer)) return 0;
    Check(size >= wire::kHeaderSize && size <= wire::kMaxDatagram);
    const uint8_t ip[4] = {127, 0, 0, 1};
    if (answer.kind == wire::kDescription) {
        const wire::Description& d = answer.description;
        Check(d.type.size() <= wire::kTypeMax && d.ident.size() <= wire::kIdentMax && d.name.size() <= wire::kNameMax);
        Check(wire::IsCleanText(d.name.data(), d.name.size(), true));
        Check(wire::IsCleanText(d.ident.data(), d.ident.size(), true));
        Check(wire::IsCleanText(d.type.data(), d.type.size(), false));
        uint8_t* found = new uint8_t[hlpfill::kFoundSize];
        hlpfill::FillFound(found, d, ip, 1549);
        Check(Terminated(found + hlpfill::kOfsType, hlpfill::kTypeSize));
        Check(Terminated(found + hlpfill::kOfsIdent, hlpfill::kIdentSize));
        Check(Terminated(found + hlpfill::kOfsName, hlpfill::kNameSize));
        Check(strcmp(reinterpret_cast<char*>(found + hlpfill::kOfsName), d.name.c_str()) == 0);
        delete[] found;
        uint8_t* info = new uint8_t[hlpfill::kServerInfo16Size];
        hlpfill::FillServerInfo16(info, d);
        delete[] info;
        wire::GlobMatch(d.type.c_str(), d.name.c_str());
    } else {
        Check(answer.kind == wire::kPortList);
        const wire::PortPage& p = answer.page;
        Check(p.first <= p.total && p.count <= p.total - p.first && p.names.size() <= p.count);
        for (const std::string& name : p.names) {
            Check(name.size() <= wire::kGroupMax && wire::IsCleanText(name.data(), name.size(), true));
            uint8_t* slot = new uint8_t[hlpfill::kPortNameSize];
            hlpfill::CopyText(slot, hlpfill::kPortNameSize, name);
            Check(Terminated(slot, hlpfill::kPortNameSize));
            delete[] slot;
        }
    }
    return 0;
}
