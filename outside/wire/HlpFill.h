// Writes what a server said into the engine's fixed little-endian records, byte by byte, so that
// the same code runs (and is fuzzed) natively. Every text field ends up NUL-terminated and
// zero-filled within its fixed size, whatever the texts hold.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "Wire.h"

namespace hlpfill {

// The server entry of a search table (123 bytes).
constexpr size_t kEntrySize = 123;
constexpr size_t kOfsTransport = 0;
constexpr size_t kOfsType = 2, kTypeSize = 48;
constexpr size_t kOfsIdent = 50, kIdentSize = 9;
constexpr size_t kOfsName = 59, kNameSize = 48;
constexpr size_t kOfsFamily = 107, kOfsPort = 109, kOfsAddr = 111;

// The answer to a find-one-device query (132 bytes): an entry, then the version at 125.
constexpr size_t kFoundSize = 132;
constexpr size_t kOfsFoundVersion = 125;

// The engine's server-info record (10 bytes): version, one pad byte, 16-bit flag 1 at 6 and flag 2 at 8.
constexpr size_t kServerInfo16Size = 10;
constexpr size_t kOfsInfoFlag1 = 6, kOfsInfoFlag2 = 8;

constexpr size_t kPortNameSize = 256;

constexpr uint16_t kTransportTcpIp = 2;
constexpr uint16_t kFamilyInet = 2;

// Copies text into a field of fieldSize bytes: at most fieldSize - 1 bytes, the rest zero.
void CopyText(uint8_t* field, size_t fieldSize, const std::string& text);

void PutWord(uint8_t* p, uint16_t v);

// ip is the server's IPv4 address, first octet first; port in host order.
void FillEntry(uint8_t* entry, const wire::Description& d, const uint8_t ip[4], uint16_t port);
void FillFound(uint8_t* found, const wire::Description& d, const uint8_t ip[4], uint16_t port);
// Flag 1 is the number of port groups (capped at 65535), flag 2 is 1 for a usable server.
void FillServerInfo16(uint8_t* info, const wire::Description& d);

}  // namespace hlpfill
