// The packed little-endian records exchanged with the discovery engine through QXLNK32.
#pragma once
#include <windows.h>

enum : WORD {
    HLP_TRANSPORT_TCPIP = 2,
    HLP_TRANSPORT_IPX = 200,
};

#pragma pack(push, 1)

// One server found by a search.
struct HLP_DEVICE_ENTRY {
    WORD wTransport;    // 2 = TCP/IP, 200 = IPX
    char szType[48];    // server type text
    char szIdent[9];    // hardware type code, at most 8 characters
    char szName[48];    // server name
    BYTE address[16];   // TCP/IP: family, port, IPv4 address, 8 zeros. IPX: word, network, node, socket, hops
};

// A server's software version.
struct HLP_VERSION {
    BYTE major;
    BYTE minor;
    BYTE revision;
    BYTE releaseCode;   // 0x80 for a final release; other codes stand for a letter
    BYTE releaseNumber;
};

struct HLP_SERVER_INFO {
    HLP_VERSION version;
    BYTE padding[3];
    DWORD flag1;
    DWORD flag2;        // non-zero for a server the applet may use
};

// One port-group name of a listing.
struct HLP_PORT_NAME {
    char name[256];
};

// The answer to a find-one-device query.
struct HLP_FOUND_DEVICE {
    HLP_DEVICE_ENTRY entry;
    BYTE unread1[2];
    HLP_VERSION version;
    BYTE unread2[2];
};

// The server a query is about: the TCP/IP form (18 bytes).
struct HLP_ADDRESS_IP {
    WORD wTransport;    // 2
    WORD family;        // 2
    WORD port;
    BYTE ip[4];
    BYTE zero[8];
};

// The IPX form (14 bytes).
struct HLP_ADDRESS_IPX {
    WORD wTransport;    // 200
    BYTE network[4];
    BYTE node[6];
    WORD socket;
};

union HLP_ADDRESS {
    WORD wTransport;
    HLP_ADDRESS_IP ip;
    HLP_ADDRESS_IPX ipx;
};

#pragma pack(pop)

static_assert(sizeof(HLP_DEVICE_ENTRY) == 123, "device entry layout");
static_assert(sizeof(HLP_VERSION) == 5, "version layout");
static_assert(sizeof(HLP_SERVER_INFO) == 16, "server info layout");
static_assert(sizeof(HLP_PORT_NAME) == 256, "port name layout");
static_assert(sizeof(HLP_FOUND_DEVICE) == 132, "found device layout");
static_assert(sizeof(HLP_ADDRESS_IP) == 18, "TCP/IP address layout");
static_assert(sizeof(HLP_ADDRESS_IPX) == 14, "IPX address layout");

// Byte offsets inside HLP_DEVICE_ENTRY of the address fields.
enum : int {
    HLP_OFS_ADDRESS = 107,
    HLP_OFS_IP_PORT = 109,
    HLP_OFS_IP_ADDR = 111,
    HLP_OFS_IPX_NET = 109,
    HLP_OFS_IPX_NODE = 113,
    HLP_OFS_IPX_SOCKET = 119,
    HLP_OFS_IPX_HOPS = 121,
};

// Bytes of an entry at a fixed offset.
inline const BYTE* EntryBytes(const HLP_DEVICE_ENTRY& e, int offset)
{
    return reinterpret_cast<const BYTE*>(&e) + offset;
}
inline BYTE* EntryBytes(HLP_DEVICE_ENTRY& e, int offset) { return reinterpret_cast<BYTE*>(&e) + offset; }
// A 16-bit little-endian value of an entry.
inline WORD EntryWord(const HLP_DEVICE_ENTRY& e, int offset)
{
    const BYTE* p = EntryBytes(e, offset);
    return static_cast<WORD>(p[0] | (p[1] << 8));
}
