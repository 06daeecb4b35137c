#include "tools/gwprobe/snmprte.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

UINT ipRouteDestIds[] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 1};
UINT ipRouteIfIndexIds[] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 2};
UINT ipRouteMetric1Ids[] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 3};
UINT ipRouteNextHopIds[] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 7};
UINT ipRouteTypeIds[] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 8};
UINT ipRouteMaskIds[] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 11};
UINT ipDefaultRouteIds[] = {1, 3, 6, 1, 2, 1, 4, 21, 1, 7, 0, 0, 0, 0};
UINT ipAdEntAddrIds[] = {1, 3, 6, 1, 2, 1, 4, 20, 1, 1};
UINT ipAdEntIfIndexIds[] = {1, 3, 6, 1, 2, 1, 4, 20, 1, 2};
UINT ipAdEntNetMaskIds[] = {1, 3, 6, 1, 2, 1, 4, 20, 1, 3};

const UINT COLUMN_IDS = 10;  // sub-identifiers of a bare column identifier
const UINT ROUTE_DEST_COLUMN = 1;
const UINT ROUTE_IFINDEX_COLUMN = 2;
const UINT ROUTE_METRIC1_COLUMN = 3;
const UINT ROUTE_NEXTHOP_COLUMN = 7;
const UINT ROUTE_TYPE_COLUMN = 8;
const UINT ROUTE_MASK_COLUMN = 11;

// Obtains count OID buffers from the SNMP allocator; on failure releases those already obtained.
bool AllocOidBuffers(UINT** buffers, int count)
{
    for (int i = 0; i < count; ++i) {
        buffers[i] = static_cast<UINT*>(SnmpUtilMemAlloc(OID_BUFFER_BYTES));
        if (!buffers[i]) {
            while (i-- > 0) SnmpUtilMemFree(buffers[i]);
            return false;
        }
    }
    return true;
}

BOOL Query(BYTE requestType, RFC1157VarBindList* list, AsnInteger32* errorStatus)
{
    AsnInteger32 errorIndex = 0;
    *errorStatus = 0;
    if (!gQueryAddr) {
        *errorStatus = SNMP_ERRORSTATUS_GENERR;
        return FALSE;
    }
    return gQueryAddr(requestType, list, errorStatus, &errorIndex);
}

// The four octets of an IpAddress value; false for any other kind of value.
bool ReadIpAddress(const AsnAny& value, DWORD* address)
{
    if (value.asnType != ASN_RFC1155_IPADDRESS || value.asnValue.address.length != 4 ||
        !value.asnValue.address.stream)
        return false;
    memcpy(address, value.asnValue.address.stream, 4);
    return true;
}

bool ReadInteger(const AsnAny& value, LONG* number)
{
    if (value.asnType != ASN_INTEGER) return false;
    *number = value.asnValue.number;
    return true;
}

// Releases a value the agent filled in, so the next request starts from an empty value.
void ClearValue(AsnAny* value)
{
    if (value->asnType == ASN_RFC1155_IPADDRESS && value->asnValue.address.dynamic)
        SnmpUtilMemFree(value->asnValue.address.stream);
    memset(value, 0, sizeof *value);
    value->asnType = ASN_NULL;
}

// The column number of a name inside ipRouteEntry (1.3.6.1.2.1.4.21.1.column...), else 0.
UINT RouteColumn(const AsnObjectIdentifier& name)
{
    if (name.idLength < COLUMN_IDS || !name.ids) return 0;
    if (name.ids[7] != 21) return 0;
    return name.ids[9];
}

bool SameName(const AsnObjectIdentifier& name, const UINT* ids, UINT idLength)
{
    return name.idLength == idLength && name.ids && memcmp(name.ids, ids, idLength * sizeof(UINT)) == 0;
}

}  // namespace

AsnObjectIdentifier ipRouteDestOid = {10, ipRouteDestIds};
AsnObjectIdentifier ipRouteIfIndexOid = {10, ipRouteIfIndexIds};
AsnObjectIdentifier ipRouteMetric1Oid = {10, ipRouteMetric1Ids};
AsnObjectIdentifier ipRouteNextHopOid = {10, ipRouteNextHopIds};
AsnObjectIdentifier ipRouteTypeOid = {10, ipRouteTypeIds};
AsnObjectIdentifier ipRouteMaskOid = {10, ipRouteMaskIds};
AsnObjectIdentifier ipDefaultRouteOid = {14, ipDefaultRouteIds};
AsnObjectIdentifier ipAdEntAddrOid = {10, ipAdEntAddrIds};
AsnObjectIdentifier ipAdEntIfIndexOid = {10, ipAdEntIfIndexIds};
AsnObjectIdentifier ipAdEntNetMaskOid = {10, ipAdEntNetMaskIds};

SnmpUtilMemAllocFn pfnSnmpUtilMemAlloc = nullptr;
SnmpUtilMemFreeFn pfnSnmpUtilMemFree = nullptr;
PFNSNMPEXTENSIONINIT gInitAddr = nullptr;
PFNSNMPEXTENSIONQUERY gQueryAddr = nullptr;

extern "C" LPVOID WINAPI SnmpUtilMemAlloc(UINT size)
{
    return pfnSnmpUtilMemAlloc ? pfnSnmpUtilMemAlloc(size) : nullptr;
}

extern "C" VOID WINAPI SnmpUtilMemFree(LPVOID block)
{
    if (pfnSnmpUtilMemFree) pfnSnmpUtilMemFree(block);
}

int InitSnmp()
{
    // The agent counts its up-time from this moment.
    DWORD timeZero = static_cast<DWORD>(time(nullptr));
    int ok = 0;

    HMODULE api = LoadLibraryA("snmpapi.dll");
    if (api) {
        pfnSnmpUtilMemAlloc = reinterpret_cast<SnmpUtilMemAllocFn>(GetProcAddress(api, "SnmpUtilMemAlloc"));
        pfnSnmpUtilMemFree = reinterpret_cast<SnmpUtilMemFreeFn>(GetProcAddress(api, "SnmpUtilMemFree"));
    }
    if (!pfnSnmpUtilMemAlloc || !pfnSnmpUtilMemFree) {
        SetLastError(ERROR_FILE_NOT_FOUND);
    } else {
        HMODULE mib = LoadLibraryA("inetmib1.dll");
        if (mib) gInitAddr = reinterpret_cast<PFNSNMPEXTENSIONINIT>(GetProcAddress(mib, "SnmpExtensionInit"));
        if (gInitAddr) gQueryAddr = reinterpret_cast<PFNSNMPEXTENSIONQUERY>(GetProcAddress(mib, "SnmpExtensionQuery"));
        if (!gInitAddr || !gQueryAddr) {
            SetLastError(ERROR_FILE_NOT_FOUND);
        } else {
            HANDLE trapEvent = nullptr;
            AsnObjectIdentifier supportedView = {0, nullptr};
            gInitAddr(timeZero, &trapEvent, &supportedView);
            // The agent copied its view with the SNMP allocator; nothing here uses it.
            if (supportedView.ids) SnmpUtilMemFree(supportedView.ids);
            ok = 1;
        }
    }
    printf("InitSnmp Initialize %s\n", ok ? "OK." : "FAILED.");
    return ok;
}

void FillVarBind(RFC1157VarBind* binding, UINT* oidBuffer, UINT idCount, BYTE type, const void* value,
                 UINT valueLength)
{
    memset(binding, 0, sizeof *binding);
    binding->name.ids = oidBuffer;
    binding->name.idLength = idCount;
    binding->value.asnType = type;
    if (value && valueLength) {
        if (valueLength > sizeof binding->value.asnValue) valueLength = sizeof binding->value.asnValue;
        memcpy(&binding->value.asnValue, value, valueLength);
    }
}

void FillAsnIPAddress(AsnOctetString* octets, DWORD address, BYTE* buffer)
{
    memcpy(buffer, &address, 4);
    octets->stream = buffer;
    octets->length = 4;
    octets->dynamic = TRUE;
}

void FreeVarBind(RFC1157VarBind* binding)
{
    SnmpUtilMemFree(binding->name.ids);
    binding->name.ids = nullptr;
    binding->name.idLength = 0;
    ClearValue(&binding->value);
}

void OidWithIPIndex(UINT* buffer, const UINT* column, UINT* idCount, DWORD address)
{
    // The buffer holds OID_BUFFER_IDS sub-identifiers; the index takes four of them.
    UINT count = *idCount;
    if (count > OID_BUFFER_IDS - 4) count = OID_BUFFER_IDS - 4;
    memcpy(buffer, column, count * sizeof(UINT));
    const BYTE* octets = reinterpret_cast<const BYTE*>(&address);
    for (int i = 0; i < 4; ++i) buffer[count + i] = octets[i];
    *idCount = count + 4;
}

int IsValidRoute(DWORD address, DWORD routeDest, DWORD routeMask)
{
    if (routeDest == 0) return 1;
    if ((address & routeMask) == routeDest) return 2;
    return 0;
}

int GetAddressInformation(DWORD address, DWORD* mask, DWORD* ifIndex)
{
    *mask = 0;
    *ifIndex = 0;
    UINT* oids[3];
    if (!AllocOidBuffers(oids, 3)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        printf("FindIpRoute: SnmpUtilMemAlloc of %d. dwords failed.\n", static_cast<int>(OID_BUFFER_IDS));
        return 0;
    }
    const AsnObjectIdentifier* columns[3] = {&ipAdEntAddrOid, &ipAdEntIfIndexOid, &ipAdEntNetMaskOid};
    RFC1157VarBind bindings[3];
    for (int i = 0; i < 3; ++i) {
        UINT count = columns[i]->idLength;
        OidWithIPIndex(oids[i], columns[i]->ids, &count, address);
        FillVarBind(&bindings[i], oids[i], count, ASN_NULL, nullptr, 0);
    }
    RFC1157VarBindList list = {bindings, 3};
    AsnInteger32 errorStatus = 0;
    int result = 0;
    if (Query(ASN_RFC1157_GETREQUEST, &list, &errorStatus) && errorStatus == 0) {
        printf("GetAddressInformation: SnmpExtensionQuery OK.\n");
        DWORD netMask = 0;
        LONG index = 0;
        if (ReadIpAddress(bindings[2].value, &netMask) && ReadInteger(bindings[1].value, &index)) {
            *mask = netMask;
            *ifIndex = static_cast<DWORD>(index);
            result = 1;
        }
    }
    for (RFC1157VarBind& b : bindings) FreeVarBind(&b);
    return result;
}

int FindIpRoute(DWORD localAddress, DWORD destination, IpRouteRecord* route)
{
    memset(route, 0, sizeof *route);
    UINT* oids[6];
    if (!AllocOidBuffers(oids, 6)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        printf("FindIpRoute: SnmpUtilMemAlloc of %d. dwords failed.\n", static_cast<int>(OID_BUFFER_IDS));
        return 0;
    }

    DWORD localMask = 0, localIfIndex = 0;
    GetAddressInformation(localAddress, &localMask, &localIfIndex);

    int found = 0;
    const AsnObjectIdentifier* columns[6] = {&ipRouteDestOid,    &ipRouteMaskOid,    &ipRouteNextHopOid,
                                             &ipRouteTypeOid,    &ipRouteMetric1Oid, &ipRouteIfIndexOid};
    RFC1157VarBind bindings[6];
    for (int i = 0; i < 6; ++i) {
        memcpy(oids[i], columns[i]->ids, COLUMN_IDS * sizeof(UINT));
        FillVarBind(&bindings[i], oids[i], COLUMN_IDS, ASN_NULL, nullptr, 0);
    }
    RFC1157VarBindList list = {bindings, 6};
    AsnInteger32 errorStatus = 0;
    // Counts every default route considered; only "more than one" matters, so it never wraps.
    unsigned defaultRoutes = 0;
    // The previous row's name: an agent that stops advancing must not keep the walk going forever.
    UINT previousName[OID_BUFFER_IDS];
    UINT previousLength = 0;

    while (errorStatus == 0) {
        if (!Query(ASN_RFC1157_GETNEXTREQUEST, &list, &errorStatus)) {
            printf("GetIpRouteInfo: SnmpExtensionQuery failed: %u.\n", static_cast<unsigned>(errorStatus));
            break;
        }
        printf("GetIpRouteInfo: SnmpExtensionQuery OK.\n");
        // A non-zero status means the bindings hold no new row.
        if (errorStatus != 0) break;
        const AsnObjectIdentifier& name = bindings[0].name;
        if (RouteColumn(name) != ROUTE_DEST_COLUMN) break;
        if (previousLength && SameName(name, previousName, previousLength)) break;
        previousLength = name.idLength <= OID_BUFFER_IDS ? name.idLength : 0;
        if (previousLength) memcpy(previousName, name.ids, previousLength * sizeof(UINT));

        DWORD rowDest = 0, rowMask = 0, rowNextHop = 0;
        LONG rowIfIndex = 0;
        bool usable = ReadIpAddress(bindings[0].value, &rowDest) && ReadIpAddress(bindings[1].value, &rowMask) &&
                      ReadIpAddress(bindings[2].value, &rowNextHop);
        if (usable && localIfIndex != 0)
            usable = ReadInteger(bindings[5].value, &rowIfIndex) && static_cast<DWORD>(rowIfIndex) == localIfIndex;
        int kind = usable ? IsValidRoute(destination, rowDest, rowMask) : 0;
        // Masks compare as the numbers their octets make in memory: a longer contiguous mask is never
        // the smaller number, so the most specific route wins and an equal one later in the table
        // replaces an earlier one.
        if (kind != 0 && rowMask < route->mask) kind = 0;
        if (kind == 1) {
            // The first default route is taken whatever its next hop; a later one only when its next
            // hop lies on the local address's subnet.
            ++defaultRoutes;
            if ((rowNextHop & localMask) != (localAddress & localMask) && defaultRoutes > 1) kind = 0;
        }
        if (kind != 0) {
            IpRouteRecord row = {};
            for (const RFC1157VarBind& b : bindings) {
                LONG number = 0;
                switch (RouteColumn(b.name)) {
                case ROUTE_DEST_COLUMN: ReadIpAddress(b.value, &row.dest); break;
                case ROUTE_MASK_COLUMN: ReadIpAddress(b.value, &row.mask); break;
                case ROUTE_NEXTHOP_COLUMN: ReadIpAddress(b.value, &row.nextHop); break;
                case ROUTE_TYPE_COLUMN:
                    if (ReadInteger(b.value, &number)) row.type = static_cast<WORD>(number);
                    break;
                case ROUTE_METRIC1_COLUMN: ReadInteger(b.value, &row.metric1); break;
                case ROUTE_IFINDEX_COLUMN:
                default: break;
                }
            }
            *route = row;
            found = 1;
        }
        for (RFC1157VarBind& b : bindings) ClearValue(&b.value);
    }

    for (RFC1157VarBind& b : bindings) FreeVarBind(&b);
    return found;
}

int GetIpDefaultRoute(DWORD* nextHop)
{
    UINT* oid;
    if (!AllocOidBuffers(&oid, 1)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        printf("GetIpDefaultRoute: SNMP_malloc of %d. dwords failed.\n", static_cast<int>(OID_BUFFER_IDS));
        return 0;
    }
    memcpy(oid, ipDefaultRouteOid.ids, ipDefaultRouteOid.idLength * sizeof(UINT));
    RFC1157VarBind binding;
    FillVarBind(&binding, oid, ipDefaultRouteOid.idLength, ASN_NULL, nullptr, 0);
    RFC1157VarBindList list = {&binding, 1};
    AsnInteger32 errorStatus = 0;
    int result = 0;
    if (!Query(ASN_RFC1157_GETREQUEST, &list, &errorStatus)) {
        printf("GetIpDefaultRoute: SnmpExtensionQuery failed: %u.\n", static_cast<unsigned>(errorStatus));
    } else {
        printf("GetIpDefaultRoute: SnmpExtensionQuery OK.\n");
        DWORD hop = 0;
        if (errorStatus == 0 && ReadIpAddress(binding.value, &hop)) {
            *nextHop = hop;
            result = 1;
        }
    }
    FreeVarBind(&binding);
    return result;
}

int AddIpRoute(const IpRouteRecord* route)
{
    UINT* oids[6];
    if (!AllocOidBuffers(oids, 6)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        printf("AddIpRoute: SnmpUtilMemAlloc of %d. dwords failed.\n", static_cast<int>(OID_BUFFER_IDS));
        return 0;
    }
    BYTE* values[3];
    for (int i = 0; i < 3; ++i) {
        values[i] = static_cast<BYTE*>(SnmpUtilMemAlloc(4));
        if (!values[i]) {
            while (i-- > 0) SnmpUtilMemFree(values[i]);
            for (UINT* oid : oids) SnmpUtilMemFree(oid);
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
    }

    const AsnObjectIdentifier* columns[5] = {&ipRouteDestOid, &ipRouteMaskOid, &ipRouteNextHopOid, &ipRouteTypeOid,
                                             &ipRouteMetric1Oid};
    const DWORD addresses[3] = {route->dest, route->mask, route->nextHop};
    const LONG numbers[2] = {route->type, route->metric1};
    RFC1157VarBind bindings[5];
    for (int i = 0; i < 5; ++i) {
        UINT count = columns[i]->idLength;
        OidWithIPIndex(oids[i], columns[i]->ids, &count, route->dest);
        if (i < 3) {
            AsnOctetString octets;
            FillAsnIPAddress(&octets, addresses[i], values[i]);
            FillVarBind(&bindings[i], oids[i], count, ASN_RFC1155_IPADDRESS, &octets, sizeof octets);
        } else {
            FillVarBind(&bindings[i], oids[i], count, ASN_INTEGER, &numbers[i - 3], sizeof(LONG));
        }
    }
    SnmpUtilMemFree(oids[5]);  // obtained with the others, never needed

    RFC1157VarBindList list = {bindings, 5};
    AsnInteger32 errorStatus = 0;
    int result = 0;
    if (!Query(ASN_RFC1157_SETREQUEST, &list, &errorStatus)) {
        printf("AddIpRoute: SnmpExtensionQuery failed: %u.\n", static_cast<unsigned>(errorStatus));
    } else {
        printf("AddIpRoute: SnmpExtensionQuery OK.\n");
        result = errorStatus == 0;
    }
    for (RFC1157VarBind& b : bindings) FreeVarBind(&b);
    return result;
}

int InitWinsock()
{
    WSADATA data;
    int rc = WSAStartup(MAKEWORD(1, 1), &data);
    if (rc != 0) {
        // The start-up hands back its error code itself; the thread's last error may not be set.
        printf("WSAStartup() failed: %ld\n", static_cast<long>(rc));
        return 0;
    }
    printf("Winsock:  %s %s  OK\n", data.szDescription, data.szSystemStatus);
    printf("\t\t Max sockets: %d.  UDP datagram size: %d.\n", static_cast<int>(data.iMaxSockets),
           static_cast<int>(data.iMaxUdpDg));
    return 1;
}

void CloseWinsock() { WSACleanup(); }
