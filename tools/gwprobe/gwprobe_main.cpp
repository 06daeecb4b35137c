// gwprobe: finds the gateway (next hop) toward the remote access server named in the registry and
// records it there. No arguments; progress on standard output; exit code 0 (found) or -1.
#include <winsock2.h>
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <cstring>

#include "tools/gwprobe/gwprobe.h"
#include "tools/gwprobe/snmprte.h"

int main()
{
    // Lines go out exactly as written: the gateway line ends in CR LF, all others in LF.
    _setmode(_fileno(stdout), _O_BINARY);

    int result = -1;
    if (!InitWinsock()) return result;
    if (!InitSnmp()) {
        CloseWinsock();
        return result;
    }

    DWORD server = 0;
    char serverText[GW_SERVER_TEXT_SIZE];
    serverText[0] = '\0';
    if (GetRegistryString(HKEY_CLASSES_ROOT, "ZFARLINE", "PORTREVE_ADDR", serverText, sizeof serverText) == 1 &&
        serverText[0] != '\0')
        AsciiToIPAddress(serverText, &server);

    DWORD local = 0;
    char hostName[GW_HOST_NAME_SIZE];
    if (gethostname(hostName, sizeof hostName) == 0) {
        hostName[sizeof hostName - 1] = '\0';
        const hostent* host = gethostbyname(hostName);
        if (host && host->h_addrtype == AF_INET && host->h_length == 4 && host->h_addr_list && host->h_addr_list[0])
            memcpy(&local, host->h_addr_list[0], 4);
    }

    IpRouteRecord route;
    if (!FindIpRoute(local, server, &route)) {
        CloseWinsock();
        return result;
    }

    const BYTE* hop = reinterpret_cast<const BYTE*>(&route.nextHop);
    char gateway[GW_GATEWAY_TEXT_SIZE];
    memset(gateway, 0, sizeof gateway);
    for (int i = 0; i < 4; ++i) {
        if (i) strcat(gateway, ".");
        my_itoa(hop[i], gateway + strlen(gateway));
    }
    printf("Gateway: %d.%d.%d.%d [%s]\r\n", hop[0], hop[1], hop[2], hop[3], gateway);
    SetProfileString(HKEY_CLASSES_ROOT, "ZFARLINE", "GATEWAY_ADDR", gateway);

    result = 0;
    CloseWinsock();
    return result;
}
