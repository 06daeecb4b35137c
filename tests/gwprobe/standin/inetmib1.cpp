// Test double for inetmib1.dll: a MIB-II agent that serves a routing table and an address table
// given by the test, rows in the order given. Built in variants without SnmpExtensionInit or
// SnmpExtensionQuery (STANDIN_WITHOUT_INIT, STANDIN_WITHOUT_QUERY).
//
// The tables are text, one entry a line ('#' starts a comment):
//   route DEST MASK NEXTHOP IFINDEX [TYPE [METRIC1]]
//   addr ADDRESS MASK IFINDEX
//   fail-after N [STATUS]   the N-th get-next request on the routing table fails (status 5 unless given)
//   end-with-error          the end of the routing table is reported as error status 2 (noSuchName)
//                           instead of names moving past the table
//   addr-query-fails        get requests on the address table fail
//   set-status N            set requests are answered with error status N (0: the route is stored)
// A child process reads them at SnmpExtensionInit from the file named by STANDIN_MIB_TABLE;
// in-process tests call StandInSetTables. StandInLog returns the init, get and set requests seen.
//
// Route instance names are the column, the destination's four octets and then the row's position
// (1-based), so that rows sharing a destination, which the MIB's own index can't tell apart, still
// come one after another in table order.
#include <windows.h>
#include <snmp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Route {
    DWORD dest, mask, nextHop;
    LONG ifIndex, type, metric1;
};

struct Address {
    DWORD addr, mask;
    LONG ifIndex;
};

struct Tables {
    std::vector<Route> routes;
    std::vector<Address> addresses;
    int failAfter = 0;
    LONG failStatus = SNMP_ERRORSTATUS_GENERR;
    bool endWithError = false;
    bool addrQueryFails = false;
    LONG setStatus = 0;
};

Tables g_tables;
std::string g_log;
int g_routeGetNexts = 0;

const UINT kRouteEntry[] = {1, 3, 6, 1, 2, 1, 4, 21, 1};
const UINT kAddrEntry[] = {1, 3, 6, 1, 2, 1, 4, 20, 1};
const UINT kAfterRoutes[] = {1, 3, 6, 1, 2, 1, 4, 22, 1, 1};
const UINT kRouteColumns[] = {1, 2, 3, 7, 8, 11};

typedef LPVOID(WINAPI* AllocFn)(UINT);
typedef VOID(WINAPI* FreeFn)(LPVOID);

// The agent allocates with the utility library's allocator, like the real one.
LPVOID MemAlloc(UINT size)
{
    static AllocFn alloc = reinterpret_cast<AllocFn>(GetProcAddress(LoadLibraryA("snmpapi.dll"), "StandInMemAlloc"));
    return alloc ? alloc(size) : HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void MemFree(LPVOID block)
{
    static FreeFn release = reinterpret_cast<FreeFn>(GetProcAddress(LoadLibraryA("snmpapi.dll"), "StandInMemFree"));
    if (release)
        release(block);
    else if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

bool ParseAddress(const std::string& text, DWORD* out)
{
    unsigned a, b, c, d;
    char extra;
    if (sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &extra) != 4 || a > 255 || b > 255 || c > 255 ||
        d > 255)
        return false;
    BYTE octets[4] = {static_cast<BYTE>(a), static_cast<BYTE>(b), static_cast<BYTE>(c), static_cast<BYTE>(d)};
    memcpy(out, octets, 4);
    return true;
}

std::string AddressText(DWORD address)
{
    const BYTE* o = reinterpret_cast<const BYTE*>(&address);
    char text[16];
    snprintf(text, sizeof text, "%u.%u.%u.%u", o[0], o[1], o[2], o[3]);
    return text;
}

bool Parse(const char* text, Tables* tables)
{
    std::istringstream lines(text ? text : "");
    std::string line;
    while (std::getline(lines, line)) {
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind)) continue;
        if (kind == "route") {
            std::string dest, mask, hop;
            Route r = {0, 0, 0, 0, 4, 1};
            if (!(words >> dest >> mask >> hop >> r.ifIndex) || !ParseAddress(dest, &r.dest) ||
                !ParseAddress(mask, &r.mask) || !ParseAddress(hop, &r.nextHop))
                return false;
            words >> r.type >> r.metric1;
            tables->routes.push_back(r);
        } else if (kind == "addr") {
            std::string addr, mask;
            Address a = {0, 0, 0};
            if (!(words >> addr >> mask >> a.ifIndex) || !ParseAddress(addr, &a.addr) || !ParseAddress(mask, &a.mask))
                return false;
            tables->addresses.push_back(a);
        } else if (kind == "fail-after") {
            if (!(words >> tables->failAfter)) return false;
            words >> tables->failStatus;
        } else if (kind == "end-with-error") {
            tables->endWithError = true;
        } else if (kind == "addr-query-fails") {
            tables->addrQueryFails = true;
        } else if (kind == "set-status") {
            if (!(words >> tables->setStatus)) return false;
        } else {
            return false;
        }
    }
    return true;
}

bool StartsWith(const AsnObjectIdentifier& name, const UINT* prefix, UINT count)
{
    return name.ids && name.idLength >= count && memcmp(name.ids, prefix, count * sizeof(UINT)) == 0;
}

std::string NameText(const AsnObjectIdentifier& name)
{
    std::string text;
    for (UINT i = 0; i < name.idLength; ++i) {
        if (i) text += '.';
        text += std::to_string(name.ids[i]);
    }
    return text;
}

std::string ValueText(const AsnAny& value)
{
    switch (value.asnType) {
    case ASN_NULL: return "null";
    case ASN_INTEGER: return "int:" + std::to_string(value.asnValue.number);
    case ASN_IPADDRESS:
        if (value.asnValue.address.length == 4 && value.asnValue.address.stream) {
            DWORD a;
            memcpy(&a, value.asnValue.address.stream, 4);
            return "ip:" + AddressText(a) + (value.asnValue.address.dynamic ? "" : "(static)");
        }
        return "ip:?";
    default: return "type:" + std::to_string(value.asnType);
    }
}

// Replaces a binding's name with a fresh one, releasing the old one as the real agent does.
void SetName(SnmpVarBind* binding, const UINT* ids, UINT count)
{
    MemFree(binding->name.ids);
    binding->name.ids = static_cast<UINT*>(MemAlloc(count * sizeof(UINT)));
    binding->name.idLength = binding->name.ids ? count : 0;
    if (binding->name.ids) memcpy(binding->name.ids, ids, count * sizeof(UINT));
}

void SetIpAddress(AsnAny* value, DWORD address)
{
    BYTE* bytes = static_cast<BYTE*>(MemAlloc(4));
    if (!bytes) {
        value->asnType = ASN_NULL;
        return;
    }
    memcpy(bytes, &address, 4);
    value->asnType = ASN_IPADDRESS;
    value->asnValue.address.stream = bytes;
    value->asnValue.address.length = 4;
    value->asnValue.address.dynamic = TRUE;
}

void SetInteger(AsnAny* value, LONG number)
{
    value->asnType = ASN_INTEGER;
    value->asnValue.number = number;
}

bool RouteValue(const Route& r, UINT column, AsnAny* value)
{
    switch (column) {
    case 1: SetIpAddress(value, r.dest); return true;
    case 2: SetInteger(value, r.ifIndex); return true;
    case 3: SetInteger(value, r.metric1); return true;
    case 7: SetIpAddress(value, r.nextHop); return true;
    case 8: SetInteger(value, r.type); return true;
    case 11: SetIpAddress(value, r.mask); return true;
    default: return false;
    }
}

bool AddressValue(const Address& a, UINT column, AsnAny* value)
{
    switch (column) {
    case 1: SetIpAddress(value, a.addr); return true;
    case 2: SetInteger(value, a.ifIndex); return true;
    case 3: SetIpAddress(value, a.mask); return true;
    default: return false;
    }
}

DWORD IndexAddress(const AsnObjectIdentifier& name)
{
    BYTE octets[4];
    for (int i = 0; i < 4; ++i) octets[i] = static_cast<BYTE>(name.ids[10 + i]);
    DWORD a;
    memcpy(&a, octets, 4);
    return a;
}

// Moves one binding to the next route instance; false at the end of the table.
bool NextRoute(SnmpVarBind* binding)
{
    UINT column = binding->name.idLength >= 10 ? binding->name.ids[9] : 0;
    size_t position = binding->name.idLength >= 15 ? binding->name.ids[14] : 0;
    for (UINT c : kRouteColumns) {
        if (c < column) continue;
        size_t row = c == column ? position : 0;
        if (row >= g_tables.routes.size()) continue;
        const Route& r = g_tables.routes[row];
        const BYTE* d = reinterpret_cast<const BYTE*>(&r.dest);
        UINT ids[15] = {1, 3, 6, 1, 2, 1, 4, 21, 1, c, d[0], d[1], d[2], d[3], static_cast<UINT>(row + 1)};
        SetName(binding, ids, 15);
        RouteValue(r, c, &binding->value);
        return true;
    }
    return false;
}

[[maybe_unused]] BOOL GetNext(SnmpVarBindList* list, AsnInteger32* status, AsnInteger32* index)
{
    bool routeRequest = list->len > 0 && StartsWith(list->list[0].name, kRouteEntry, 9);
    if (routeRequest) ++g_routeGetNexts;
    if (routeRequest && g_tables.failAfter && g_routeGetNexts == g_tables.failAfter) {
        *status = g_tables.failStatus;
        return FALSE;
    }
    for (UINT i = 0; i < list->len; ++i) {
        SnmpVarBind* b = &list->list[i];
        if (!StartsWith(b->name, kRouteEntry, 9) || !NextRoute(b)) {
            if (g_tables.endWithError) {
                *status = SNMP_ERRORSTATUS_NOSUCHNAME;
                *index = i + 1;
                return TRUE;
            }
            SetName(b, kAfterRoutes, 10);
            SetInteger(&b->value, 0);
        }
    }
    return TRUE;
}

[[maybe_unused]] BOOL Get(SnmpVarBindList* list, AsnInteger32* status, AsnInteger32* index)
{
    std::string line = "get";
    bool ok = true;
    for (UINT i = 0; i < list->len && ok; ++i) {
        SnmpVarBind* b = &list->list[i];
        line += " " + NameText(b->name);
        ok = false;
        if (b->name.idLength == 14 && StartsWith(b->name, kAddrEntry, 9)) {
            if (g_tables.addrQueryFails) {
                g_log += line + " -> failed\n";
                *status = SNMP_ERRORSTATUS_GENERR;
                return FALSE;
            }
            DWORD a = IndexAddress(b->name);
            for (const Address& entry : g_tables.addresses)
                if (entry.addr == a) {
                    ok = AddressValue(entry, b->name.ids[9], &b->value);
                    break;
                }
        } else if (b->name.idLength == 14 && StartsWith(b->name, kRouteEntry, 9)) {
            DWORD d = IndexAddress(b->name);
            for (const Route& r : g_tables.routes)
                if (r.dest == d) {
                    ok = RouteValue(r, b->name.ids[9], &b->value);
                    break;
                }
        }
        if (!ok) {
            *status = SNMP_ERRORSTATUS_NOSUCHNAME;
            *index = i + 1;
        }
    }
    g_log += line + (ok ? "\n" : " -> noSuchName\n");
    return TRUE;
}

[[maybe_unused]] BOOL Set(SnmpVarBindList* list, AsnInteger32* status, AsnInteger32* index)
{
    std::string line = "set";
    Route r = {0, 0, 0, 0, 0, 0};
    for (UINT i = 0; i < list->len; ++i) {
        SnmpVarBind* b = &list->list[i];
        line += " " + NameText(b->name) + "=" + ValueText(b->value);
        if (b->name.idLength != 14 || !StartsWith(b->name, kRouteEntry, 9)) {
            *status = SNMP_ERRORSTATUS_NOSUCHNAME;
            *index = i + 1;
            continue;
        }
        const AsnAny& v = b->value;
        DWORD address = 0;
        if (v.asnType == ASN_IPADDRESS && v.asnValue.address.length == 4)
            memcpy(&address, v.asnValue.address.stream, 4);
        switch (b->name.ids[9]) {
        case 1: r.dest = address; break;
        case 7: r.nextHop = address; break;
        case 11: r.mask = address; break;
        case 8: r.type = v.asnValue.number; break;
        case 3: r.metric1 = v.asnValue.number; break;
        default: break;
        }
    }
    g_log += line + "\n";
    if (*status == 0 && g_tables.setStatus != 0) *status = g_tables.setStatus;
    if (*status == 0) g_tables.routes.push_back(r);
    return TRUE;
}

}  // namespace

#ifndef STANDIN_WITHOUT_INIT
extern "C" __declspec(dllexport) BOOL WINAPI SnmpExtensionInit(DWORD timeZero, HANDLE* trapEvent,
                                                               AsnObjectIdentifier* supportedView)
{
    g_log += "init " + std::to_string(timeZero) + "\n";
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("STANDIN_MIB_TABLE", path, sizeof path);
    if (n > 0 && n < sizeof path) {
        std::string text;
        if (FILE* f = fopen(path, "rb")) {
            char chunk[4096];
            size_t got;
            while ((got = fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
            fclose(f);
        }
        Tables parsed;
        if (Parse(text.c_str(), &parsed)) g_tables = parsed;
    }
    g_routeGetNexts = 0;
    static const UINT view[] = {1, 3, 6, 1, 2, 1, 1};
    supportedView->ids = static_cast<UINT*>(MemAlloc(sizeof view));
    supportedView->idLength = supportedView->ids ? 7 : 0;
    if (supportedView->ids) memcpy(supportedView->ids, view, sizeof view);
    *trapEvent = nullptr;
    return TRUE;
}
#endif

#ifndef STANDIN_WITHOUT_QUERY
extern "C" __declspec(dllexport) BOOL WINAPI SnmpExtensionQuery(BYTE requestType, SnmpVarBindList* list,
                                                                AsnInteger32* status, AsnInteger32* index)
{
    *status = 0;
    *index = 0;
    switch (requestType) {
    case SNMP_PDU_GETNEXT: return GetNext(list, status, index);
    case SNMP_PDU_GET: return Get(list, status, index);
    case SNMP_PDU_SET: return Set(list, status, index);
    default: *status = SNMP_ERRORSTATUS_GENERR; return FALSE;
    }
}
#endif

// Replaces the tables; false (tables unchanged) when the text doesn't parse.
extern "C" __declspec(dllexport) BOOL StandInSetTables(const char* text)
{
    Tables parsed;
    if (!Parse(text, &parsed)) return FALSE;
    g_tables = parsed;
    g_routeGetNexts = 0;
    g_log.clear();
    return TRUE;
}

extern "C" __declspec(dllexport) const char* StandInLog() { return g_log.c_str(); }

// How many get-next requests reached the routing table since the tables were set.
extern "C" __declspec(dllexport) int StandInRouteGetNexts() { return g_routeGetNexts; }
