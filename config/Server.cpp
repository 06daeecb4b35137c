#include "config/Server.h"
#include "config/AddressText.h"
#include "discovery/Device.h"

CServer::CServer(const CDevice& device) : CServer(*device.m_pEntry) {}

CServer::CServer(const HLP_DEVICE_ENTRY& entry)
{
    // The engine terminates the name within its field; never read past it even when it did not.
    m_strName = CString(entry.szName, strnlen(entry.szName, sizeof entry.szName));
    if (entry.wTransport == HLP_TRANSPORT_TCPIP) {
        m_strIpAddr = IpAddressText(entry);
        m_strIpSocket = IpPortText(entry);
    } else if (entry.wTransport == HLP_TRANSPORT_IPX) {
        m_strIpxNetAddr = IpxNetworkText(entry);
        m_strIpxNodeAddr = IpxNodeText(entry);
        m_strIpxSocket = IpxSocketText(entry);
        m_strIpxHops = IpxHopsText(entry);
    }
}
