#include "config/AddressText.h"

CString IpAddressText(const HLP_DEVICE_ENTRY& e)
{
    const BYTE* a = EntryBytes(e, HLP_OFS_IP_ADDR);
    return FormatText("%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
}

CString IpPortText(const HLP_DEVICE_ENTRY& e) { return FormatText("0x%04X", EntryWord(e, HLP_OFS_IP_PORT)); }

CString IpxNetworkText(const HLP_DEVICE_ENTRY& e)
{
    const BYTE* n = EntryBytes(e, HLP_OFS_IPX_NET);
    return FormatText("0x%02X%02X%02X%02X", n[0], n[1], n[2], n[3]);
}

CString IpxNodeText(const HLP_DEVICE_ENTRY& e)
{
    const BYTE* n = EntryBytes(e, HLP_OFS_IPX_NODE);
    return FormatText("0x%02X%02X%02X%02X%02X%02X", n[0], n[1], n[2], n[3], n[4], n[5]);
}

CString IpxSocketText(const HLP_DEVICE_ENTRY& e) { return FormatText("0x%04X", EntryWord(e, HLP_OFS_IPX_SOCKET)); }

CString IpxHopsText(const HLP_DEVICE_ENTRY& e) { return FormatText("0x%04X", EntryWord(e, HLP_OFS_IPX_HOPS)); }

CString DisplayAddressText(const HLP_DEVICE_ENTRY& e)
{
    if (e.wTransport == HLP_TRANSPORT_TCPIP) return IpAddressText(e);
    if (e.wTransport != HLP_TRANSPORT_IPX) return CString();
    const BYTE* n = EntryBytes(e, HLP_OFS_IPX_NET);
    const BYTE* d = EntryBytes(e, HLP_OFS_IPX_NODE);
    return FormatText("%02X%02X%02X%02X:%02X%02X%02X%02X%02X%02X:%04X", n[0], n[1], n[2], n[3], d[0], d[1], d[2],
                      d[3], d[4], d[5], EntryWord(e, HLP_OFS_IPX_SOCKET));
}

char ReleaseLetter(BYTE releaseCode)
{
    switch (releaseCode) {
    case 0x10: return 'u';
    case 0x20: return 'b';
    case 0x40: return 'a';
    case 0x60: return 'b';
    case 0x70: return 'f';
    case 0x80: return 0;
    case 0x90: return 'p';
    default: return '?';
    }
}

CString VersionText(const HLP_VERSION& v)
{
    if (v.releaseCode == 0x80) return FormatText("%u.%u.%u", v.major, v.minor, v.revision);
    return FormatText("%u.%u.%u%c%u", v.major, v.minor, v.revision, ReleaseLetter(v.releaseCode), v.releaseNumber);
}
