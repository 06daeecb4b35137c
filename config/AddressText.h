// Text forms of server addresses and versions, made from the discovery engine's records.
#pragma once
#include "framework/String.h"
#include "discovery/HlpRecords.h"

CString IpAddressText(const HLP_DEVICE_ENTRY& e);     // "%d.%d.%d.%d"
CString IpPortText(const HLP_DEVICE_ENTRY& e);        // "0x%04X"
CString IpxNetworkText(const HLP_DEVICE_ENTRY& e);    // "0x" and 8 hexadecimal digits
CString IpxNodeText(const HLP_DEVICE_ENTRY& e);       // "0x" and 12 hexadecimal digits
CString IpxSocketText(const HLP_DEVICE_ENTRY& e);     // "0x%04X"
CString IpxHopsText(const HLP_DEVICE_ENTRY& e);       // "0x%04X"

// The address shown to the user: dotted decimal for TCP/IP, network:node:socket for IPX,
// empty for any other transport.
CString DisplayAddressText(const HLP_DEVICE_ENTRY& e);
// The letter of a release code, '?' for a code without one, 0 for a final release (0x80).
char ReleaseLetter(BYTE releaseCode);
// "major.minor.revision" for a final release, else with the release letter and number.
CString VersionText(const HLP_VERSION& v);
