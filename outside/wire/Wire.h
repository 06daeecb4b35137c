// The datagrams the discovery engine and the remote access servers exchange on UDP port 1549.
// Plain C++ without platform headers: the engine (Windows) and the server simulator (Linux)
// share it, and the fuzzers drive its decoders. Every multi-byte number is big-endian.
//
// Datagram = 12-byte header + body:
//   0  'Z' 'F'          magic
//   2  1                protocol version
//   3  kind             Kind below
//   4  request id       32 bits, chosen by the engine, echoed by the server
//   8  status           Status below (0 in requests)
//   9  0                reserved
//  10  body length      16 bits; must equal the datagram length minus 12
// Texts travel as one length byte and that many bytes, without a terminating NUL.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wire {

constexpr uint16_t kPort = 1549;
constexpr size_t kHeaderSize = 12;
// Largest datagram either side sends; larger ones are refused as malformed.
constexpr size_t kMaxDatagram = 1400;

// Longest texts, one less than the fixed record fields that receive them.
constexpr size_t kTypeMax = 47;
constexpr size_t kIdentMax = 8;
constexpr size_t kNameMax = 47;
constexpr size_t kGroupMax = 255;
constexpr size_t kCommunityMax = 31;

enum Kind : uint8_t {
    kSearch = 0x01,       // who is there? (sent to hosts and broadcast addresses)
    kInfo = 0x02,         // describe yourself; body: community text
    kPorts = 0x03,        // list your port groups; body: 16-bit index of the first wanted
    kDescription = 0x81,  // answer to kSearch and kInfo
    kPortList = 0x83,     // answer to kPorts
};

enum Status : uint8_t {
    kOk = 0,
    kRefused = 1,         // the community text of a kInfo request is not the server's
    kNoTcpDialOut = 2,    // the server does not offer dial-out over TCP/IP
};

// Flag bits of a description.
constexpr uint32_t kFlagUsable = 0x1;

struct Version {
    uint8_t major = 0, minor = 0, revision = 0, releaseCode = 0x80, releaseNumber = 0;
};

// What a server says about itself.
struct Description {
    std::string type;     // server type text
    std::string ident;    // hardware type code
    std::string name;     // server name
    Version version;
    uint32_t flags = 0;   // kFlagUsable
    uint16_t groups = 0;  // number of port groups
};

struct Request {
    Kind kind = kSearch;
    uint32_t id = 0;
    std::string community;  // kInfo only
    uint16_t first = 0;     // kPorts only
};

// One page of a port-group listing.
struct PortPage {
    uint16_t total = 0;               // port groups the server has
    uint16_t first = 0;               // index of the first name in this page
    uint16_t count = 0;               // names carried by this page, refused ones included
    std::vector<std::string> names;   // the names that passed the text checks, in order
};

struct Answer {
    Kind kind = kDescription;
    uint32_t id = 0;
    Status status = kOk;
    Description description;  // kDescription with status kOk
    PortPage page;            // kPortList with status kOk
};

// Writers return the datagram length, or 0 when it does not fit in capacity or a text is too long.
size_t EncodeRequest(const Request& request, uint8_t* out, size_t capacity);
size_t EncodeDescription(uint32_t id, Status status, const Description* description, uint8_t* out,
                         size_t capacity);
// Packs the names from index first on while they fit in kMaxDatagram and capacity.
size_t EncodePortList(uint32_t id, Status status, const std::vector<std::string>& names, uint16_t first,
                      uint8_t* out, size_t capacity);

// Readers accept only a complete, well-formed datagram of the right direction and return false
// for anything else. Texts with control characters are refused; so are a name, an ident or a port
// group name holding ',' or ':', which would break the port list texts the names end up in.
bool DecodeRequest(const uint8_t* data, size_t size, Request& request);
bool DecodeAnswer(const uint8_t* data, size_t size, Answer& answer);

// True when the text can be shown and stored: no control characters; with listSafe also no ',' or ':'.
bool IsCleanText(const char* text, size_t size, bool listSafe);

// Case-insensitive match with '*' (any run) and '?' (any one character); a null or empty pattern matches all.
bool GlobMatch(const char* pattern, const char* text);

// True when version a is at least b, comparing major, minor and revision.
bool AtLeast(const Version& a, const Version& b);

}  // namespace wire
