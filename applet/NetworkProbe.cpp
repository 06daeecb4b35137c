#include "applet/NetworkProbe.h"

CNetworkProbe::CNetworkProbe()
{
    WSADATA data;
    m_started = ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

CNetworkProbe::~CNetworkProbe()
{
    if (m_started) ::WSACleanup();
}

int CNetworkProbe::IsProtocolAvailable(int family) const
{
    if (!m_started) return 0;
    int protocol;
    if (family == AF_INET)
        protocol = IPPROTO_UDP;
    else if (family == AF_IPX)
        protocol = 1000;   // NSPROTO_IPX
    else
        return 0;
    SOCKET s = ::socket(family, SOCK_DGRAM, protocol);
    if (s == INVALID_SOCKET) return 0;
    ::closesocket(s);
    return 1;
}
