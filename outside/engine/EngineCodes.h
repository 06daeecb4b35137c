// The engine's results: 0 for success, negative codes the applet turns into messages.
#pragma once

enum EngineCode : long {
    ENGINE_OK = 0,
    ENGINE_TCPIP_ERROR = -2,          // a socket could not be made, bound or waited on
    ENGINE_NO_MEMORY = -3,
    ENGINE_NO_WINSOCK = -5,           // Windows Sockets would not start
    ENGINE_BAD_CALL = -7,             // missing or wrong arguments, or no transport attached
    ENGINE_NOWHERE_TO_LOOK = -8,      // the lookup methods name no address at all
    ENGINE_TABLE_FULL = -9,           // more servers answered than the table holds; the table is filled
    ENGINE_NO_INI = -10,              // ZANTU unset or ZANTU.INI missing
    ENGINE_OLD_WINSOCK = -50,
    ENGINE_NETWORK_ERROR = -52,
    ENGINE_REFUSED = -53,             // the server refused the query (community)
    ENGINE_NO_PROTOCOL = -54,         // IPX, or a transport this engine does not have
    ENGINE_NOT_FOUND = -55,           // the server did not answer in time
    ENGINE_SEND_FAILED = -56,
    ENGINE_RECEIVE_FAILED = -57,
    ENGINE_NAME_NOT_FOUND = -58,      // the host name is malformed or does not resolve
    ENGINE_BAD_SETTING = -80,         // IPLookupMethods (or a section it names) is malformed
    ENGINE_NO_SECTION = -81,          // a section that IPLookupMethods names is missing or empty
    ENGINE_NO_TCP_DIAL_OUT = -131,    // the server offers no dial-out over TCP/IP
};
