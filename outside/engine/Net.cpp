#include "Net.h"
#include <iphlpapi.h>
#include <ntsecapi.h>
#include "EngineCodes.h"

namespace engine {

UdpSocket::~UdpSocket()
{
    if (m_socket != INVALID_SOCKET) closesocket(m_socket);
}

long UdpSocket::Open(bool broadcast)
{
    m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (m_socket == INVALID_SOCKET) return ENGINE_TCPIP_ERROR;
    // Room for the answers of a whole search arriving at once.
    int buffer = 1 << 20;
    setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
    if (broadcast) {
        BOOL on = TRUE;
        setsockopt(m_socket, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
    }
    sockaddr_in local;
    memset(&local, 0, sizeof local);
    local.sin_family = AF_INET;
    if (bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return ENGINE_TCPIP_ERROR;
    u_long nonBlocking = 1;
    if (ioctlsocket(m_socket, FIONBIO, &nonBlocking) != 0) return ENGINE_TCPIP_ERROR;
    return ENGINE_OK;
}

bool UdpSocket::SendTo(uint32_t address, uint16_t port, const uint8_t* data, size_t size)
{
    sockaddr_in to;
    memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (sendto(m_socket, reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                   reinterpret_cast<sockaddr*>(&to), sizeof to) == static_cast<int>(size))
            return true;
        if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(m_socket, &writable);
        timeval wait = {0, 20000};
        select(0, nullptr, &writable, nullptr, &wait);
    }
    return false;
}

int UdpSocket::Receive(uint8_t* buffer, size_t capacity, size_t& size, uint32_t& address, uint16_t& port)
{
    for (;;) {
        sockaddr_in from;
        int fromSize = sizeof from;
        int n = recvfrom(m_socket, reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0,
                         reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (n >= 0) {
            if (fromSize < static_cast<int>(sizeof from) || from.sin_family != AF_INET) continue;
            size = static_cast<size_t>(n);
            address = ntohl(from.sin_addr.s_addr);
            port = ntohs(from.sin_port);
            return 1;
        }
        int error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) return 0;
        // An unreachable host reported for an earlier datagram, or a datagram larger than any valid one:
        // neither stops the search.
        if (error == WSAECONNRESET || error == WSAEMSGSIZE || error == WSAENETRESET) continue;
        return ENGINE_RECEIVE_FAILED;
    }
}

bool UdpSocket::WaitReadable(Clock::time_point until)
{
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(until - Clock::now()).count();
    if (left < 0) left = 0;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_socket, &readable);
    timeval wait = {static_cast<long>(left / 1000000), static_cast<long>(left % 1000000)};
    return select(0, &readable, nullptr, nullptr, &wait) != SOCKET_ERROR;
}

std::vector<uint32_t> InterfaceBroadcasts()
{
    std::vector<uint32_t> result;
    ULONG size = 0;
    if (GetIpAddrTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size == 0) return result;
    std::vector<BYTE> buffer(size);
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data());
    if (GetIpAddrTable(table, &size, FALSE) != NO_ERROR) return result;
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        uint32_t address = ntohl(table->table[i].dwAddr);
        uint32_t mask = ntohl(table->table[i].dwMask);
        if (address == 0 || (address >> 24) == 127 || mask == 0 || mask == 0xFFFFFFFFu) continue;
        uint32_t broadcast = address | ~mask;
        bool seen = false;
        for (uint32_t b : result) seen = seen || b == broadcast;
        if (!seen) result.push_back(broadcast);
    }
    return result;
}

std::vector<uint32_t> Resolve(const std::string& name, size_t limit)
{
    std::vector<uint32_t> result;
    addrinfo hints;
    memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0) return result;
    for (addrinfo* a = list; a && result.size() < limit; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
        uint32_t address = ntohl(reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
        bool seen = false;
        for (uint32_t r : result) seen = seen || r == address;
        if (!seen) result.push_back(address);
    }
    freeaddrinfo(list);
    return result;
}

uint32_t NewRequestId()
{
    uint32_t id = 0;
    if (!RtlGenRandom(&id, sizeof id)) {
        static uint32_t counter = 0;
        id = static_cast<uint32_t>(GetTickCount64()) ^ (GetCurrentProcessId() << 16) ^ ++counter;
    }
    return id;
}

}  // namespace engine
