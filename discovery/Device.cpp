#include "discovery/Device.h"
#include <cstring>
#include <new>
#include <vector>
#include "discovery/DiscoveryLibrary.h"
#include "discovery/TransportOption.h"

IMPLEMENT_DYNAMIC(CDevice, CObject)

namespace {

// Wait values of a port-group listing: IPX always 5; TCP/IP 20 when the upgrade refreshes.
const int kRefreshWaitTcpIp = 20;

bool SameBytes(const HLP_DEVICE_ENTRY& a, const HLP_DEVICE_ENTRY& b, int offset, size_t size)
{
    return memcmp(EntryBytes(a, offset), EntryBytes(b, offset), size) == 0;
}

}  // namespace

CString FieldText(const char* field, size_t size) { return CString(field, strnlen(field, size)); }

CString CDevice::GetName() const { return FieldText(m_pEntry->szName, sizeof m_pEntry->szName); }
CString CDevice::GetType() const { return FieldText(m_pEntry->szType, sizeof m_pEntry->szType); }
CString CDevice::GetIdent() const { return FieldText(m_pEntry->szIdent, sizeof m_pEntry->szIdent); }

HLP_ADDRESS CDevice::MakeAddress(bool ipxForm) const
{
    HLP_ADDRESS address;
    memset(&address, 0, sizeof address);
    const HLP_DEVICE_ENTRY& e = *m_pEntry;
    if (ipxForm) {
        address.ipx.wTransport = HLP_TRANSPORT_IPX;
        memcpy(address.ipx.network, EntryBytes(e, HLP_OFS_IPX_NET), sizeof address.ipx.network);
        memcpy(address.ipx.node, EntryBytes(e, HLP_OFS_IPX_NODE), sizeof address.ipx.node);
        address.ipx.socket = EntryWord(e, HLP_OFS_IPX_SOCKET);
    } else {
        address.ip.wTransport = HLP_TRANSPORT_TCPIP;
        address.ip.family = 2;
        address.ip.port = EntryWord(e, HLP_OFS_IP_PORT);
        memcpy(address.ip.ip, EntryBytes(e, HLP_OFS_IP_ADDR), sizeof address.ip.ip);
    }
    return address;
}

BOOL CDevice::IsUsable(CDiscoveryLibrary& library) const
{
    if (m_pEntry->wTransport != HLP_TRANSPORT_IPX) return TRUE;
    HLP_ADDRESS address = MakeAddress(true);
    HLP_SERVER_INFO info;
    memset(&info, 0, sizeof info);
    if (library.GetServerInfo(&address, &info) != 0) return FALSE;
    // The version bytes are compared as signed values.
    int major = static_cast<signed char>(info.version.major);
    int minor = static_cast<signed char>(info.version.minor);
    int revision = static_cast<signed char>(info.version.revision);
    if (major < 4) return FALSE;
    if (major == 4 && minor * 10 + revision < 2) return FALSE;
    return info.flag2 != 0;
}

BOOL CDevice::IsSameDevice(const CDevice& other) const
{
    const HLP_DEVICE_ENTRY& a = *m_pEntry;
    const HLP_DEVICE_ENTRY& b = *other.m_pEntry;
    if (GetType().CompareNoCase(other.GetType().c_str()) != 0) return FALSE;
    if (GetIdent().CompareNoCase(other.GetIdent().c_str()) != 0) return FALSE;
    if (GetName().CompareNoCase(other.GetName().c_str()) != 0) return FALSE;
    if (a.wTransport != b.wTransport) return FALSE;
    if (a.wTransport == HLP_TRANSPORT_TCPIP)
        return SameBytes(a, b, HLP_OFS_ADDRESS, 2) && SameBytes(a, b, HLP_OFS_IP_PORT, 2) &&
               SameBytes(a, b, HLP_OFS_IP_ADDR, 4);
    if (a.wTransport == HLP_TRANSPORT_IPX)
        return SameBytes(a, b, HLP_OFS_ADDRESS, 2) && SameBytes(a, b, HLP_OFS_IPX_SOCKET, 2) &&
               SameBytes(a, b, HLP_OFS_IPX_HOPS, 2) && SameBytes(a, b, HLP_OFS_IPX_NET, 4) &&
               SameBytes(a, b, HLP_OFS_IPX_NODE, 6);
    return FALSE;
}

int CDevice::RefreshPortGroups()
{
    HLP_ADDRESS address = MakeAddress(IsIpxTransportOption());
    m_pPorts->RemoveAll();

    CDiscoveryLibrary library;
    int result = library.Open(m_pEntry->wTransport);
    if (result != 0) return result;

    std::vector<HLP_PORT_NAME> names(HLP_PORT_NAMES_ENTRIES);
    memset(names.data(), 0, names.size() * sizeof(HLP_PORT_NAME));
    WORD count = 0;
    int wait = m_pEntry->wTransport == HLP_TRANSPORT_IPX ? static_cast<int>(HLP_WAIT_IPX) : kRefreshWaitTcpIp;
    result = library.GetSerialNames(&address, names.data(), &count, wait);
    if (result != 0) return result;

    // A count beyond what the buffer holds cannot be true: only the names that fit are read.
    int n = count < HLP_PORT_NAMES_ENTRIES ? static_cast<int>(count) : static_cast<int>(HLP_PORT_NAMES_ENTRIES);
    for (int i = 0; i < n; ++i) {
        CString name = FieldText(names[static_cast<size_t>(i)].name, sizeof names[0].name);
        try {
            new CDevicePort(name.c_str(), this);  // the port list takes it
        } catch (const std::bad_alloc&) {
            // A name that cannot be stored is left out.
        }
    }
    return 0;
}
