#include "HlpFill.h"
#include <cstring>

namespace hlpfill {

void CopyText(uint8_t* field, size_t fieldSize, const std::string& text)
{
    if (fieldSize == 0) return;
    size_t n = strnlen(text.c_str(), text.size());
    if (n > fieldSize - 1) n = fieldSize - 1;
    memset(field, 0, fieldSize);
    memcpy(field, text.data(), n);
}

void PutWord(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void FillEntry(uint8_t* entry, const wire::Description& d, const uint8_t ip[4], uint16_t port)
{
    memset(entry, 0, kEntrySize);
    PutWord(entry + kOfsTransport, kTransportTcpIp);
    CopyText(entry + kOfsType, kTypeSize, d.type);
    CopyText(entry + kOfsIdent, kIdentSize, d.ident);
    CopyText(entry + kOfsName, kNameSize, d.name);
    PutWord(entry + kOfsFamily, kFamilyInet);
    PutWord(entry + kOfsPort, port);
    memcpy(entry + kOfsAddr, ip, 4);
}

void FillFound(uint8_t* found, const wire::Description& d, const uint8_t ip[4], uint16_t port)
{
    memset(found, 0, kFoundSize);
    FillEntry(found, d, ip, port);
    uint8_t* v = found + kOfsFoundVersion;
    v[0] = d.version.major;
    v[1] = d.version.minor;
    v[2] = d.version.revision;
    v[3] = d.version.releaseCode;
    v[4] = d.version.releaseNumber;
}

void FillServerInfo16(uint8_t* info, const wire::Description& d)
{
    memset(info, 0, kServerInfo16Size);
    info[0] = d.version.major;
    info[1] = d.version.minor;
    info[2] = d.version.revision;
    info[3] = d.version.releaseCode;
    info[4] = d.version.releaseNumber;
    PutWord(info + kOfsInfoFlag1, d.groups);
    PutWord(info + kOfsInfoFlag2, (d.flags & wire::kFlagUsable) ? 1 : 0);
}

}  // namespace hlpfill
