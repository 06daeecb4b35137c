// Routing-table queries through the MIB-II extension agent (inetmib1.dll), loaded in-process and
// called directly: neither the SNMP service nor the network takes part.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <snmp.h>

// Addresses and masks hold their four octets in transmission order: the first number of the
// dotted text is the byte at the lowest address, exactly as the agent delivers an IpAddress.
struct IpRouteRecord {
    DWORD dest;     // ipRouteDest
    DWORD mask;     // ipRouteMask
    DWORD nextHop;  // ipRouteNextHop
    WORD type;      // ipRouteType
    LONG metric1;   // ipRouteMetric1
};

// Every binding's name lives in a buffer of this many sub-identifiers from the SNMP allocator.
const UINT OID_BUFFER_IDS = 50;
const UINT OID_BUFFER_BYTES = OID_BUFFER_IDS * sizeof(UINT);

// Column identifiers of ipRouteTable and ipAddrTable, and ipRouteNextHop of destination 0.0.0.0.
extern AsnObjectIdentifier ipRouteDestOid;
extern AsnObjectIdentifier ipRouteIfIndexOid;
extern AsnObjectIdentifier ipRouteMetric1Oid;
extern AsnObjectIdentifier ipRouteNextHopOid;
extern AsnObjectIdentifier ipRouteTypeOid;
extern AsnObjectIdentifier ipRouteMaskOid;
extern AsnObjectIdentifier ipDefaultRouteOid;
extern AsnObjectIdentifier ipAdEntAddrOid;
extern AsnObjectIdentifier ipAdEntIfIndexOid;
extern AsnObjectIdentifier ipAdEntNetMaskOid;

typedef LPVOID(WINAPI* SnmpUtilMemAllocFn)(UINT);
typedef VOID(WINAPI* SnmpUtilMemFreeFn)(LPVOID);

// Bound once by InitSnmp, read by everything else.
extern SnmpUtilMemAllocFn pfnSnmpUtilMemAlloc;
extern SnmpUtilMemFreeFn pfnSnmpUtilMemFree;
extern PFNSNMPEXTENSIONINIT gInitAddr;
extern PFNSNMPEXTENSIONQUERY gQueryAddr;

// Loads snmpapi.dll and inetmib1.dll by name and starts the agent; 1 on success, else 0.
int InitSnmp();

// The SNMP utility allocator, through the pointers InitSnmp bound (null / nothing when unbound).
extern "C" LPVOID WINAPI SnmpUtilMemAlloc(UINT size);
extern "C" VOID WINAPI SnmpUtilMemFree(LPVOID block);

void FillVarBind(RFC1157VarBind* binding, UINT* oidBuffer, UINT idCount, BYTE type, const void* value,
                 UINT valueLength);
void FillAsnIPAddress(AsnOctetString* octets, DWORD address, BYTE* buffer);
void FreeVarBind(RFC1157VarBind* binding);
void OidWithIPIndex(UINT* buffer, const UINT* column, UINT* idCount, DWORD address);

// 0: the route does not lead to the address; 1: a default route; 2: a route covering the address.
int IsValidRoute(DWORD address, DWORD routeDest, DWORD routeMask);

int GetAddressInformation(DWORD address, DWORD* mask, DWORD* ifIndex);
int FindIpRoute(DWORD localAddress, DWORD destination, IpRouteRecord* route);
int GetIpDefaultRoute(DWORD* nextHop);
int AddIpRoute(const IpRouteRecord* route);

// Windows Sockets 1.1, used only to learn this computer's own address.
int InitWinsock();
void CloseWinsock();
