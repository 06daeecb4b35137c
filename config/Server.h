// One remembered server: its name and the address texts of the transport in force.
#pragma once
#include "framework/Framework.h"
#include "discovery/HlpRecords.h"

class CDevice;

class CServer : public CObject {
public:
    CServer() = default;
    // Takes the name and the address texts of the device entry's transport.
    explicit CServer(const CDevice& device);
    explicit CServer(const HLP_DEVICE_ENTRY& entry);

    CString m_strName;          // "SERVER%d_NAME"
    CString m_strIpxNetAddr;    // "SERVER%d_IPX_NET_ADDR"
    CString m_strIpxNodeAddr;   // "SERVER%d_IPX_NODE_ADDR"
    CString m_strIpxSocket;     // "SERVER%d_IPX_SOCKET"
    CString m_strIpxHops;       // "SERVER%d_IPX_HOPS"
    CString m_strIpAddr;        // "SERVER%d_IP_ADDR"
    CString m_strIpSocket;      // "SERVER%d_IP_SOCKET"
    DWORD m_mark = 0;           // set while cleaning up the list: the server is still in use
};
