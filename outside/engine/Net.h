// The engine's UDP socket and the address look-ups it needs, over Windows Sockets.
#pragma once
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One non-blocking datagram socket bound to an ephemeral port.
class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // 0, or -2 when the socket cannot be made or bound.
    long Open(bool broadcast);
    // true when sent; a full send buffer is waited on briefly.
    bool SendTo(uint32_t address, uint16_t port, const uint8_t* data, size_t size);
    // 1: a datagram arrived; 0: none waiting; negative: a receive error (-57).
    int Receive(uint8_t* buffer, size_t capacity, size_t& size, uint32_t& address, uint16_t& port);
    // Waits until a datagram is waiting or the time is up; false on a wait error.
    bool WaitReadable(Clock::time_point until);

private:
    SOCKET m_socket = INVALID_SOCKET;
};

// The directed broadcast address of every IPv4 interface that is not loopback.
std::vector<uint32_t> InterfaceBroadcasts();

// The IPv4 addresses of a host name, at most limit; empty when it does not resolve.
std::vector<uint32_t> Resolve(const std::string& name, size_t limit);

// A fresh request id that an earlier search's late answers will not carry.
uint32_t NewRequestId();

}  // namespace engine
