// A scoped Windows Sockets 1.1 start-up that tells whether a datagram socket of a family can be made.
#pragma once
#include <winsock.h>

class CNetworkProbe {
public:
    CNetworkProbe();
    ~CNetworkProbe();
    CNetworkProbe(const CNetworkProbe&) = delete;
    CNetworkProbe& operator=(const CNetworkProbe&) = delete;

    // 1 when a datagram socket of family 2 (IP, UDP) or 6 (IPX) can be created, else 0.
    int IsProtocolAvailable(int family) const;

private:
    bool m_started = false;
};
