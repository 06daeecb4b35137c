// Puts the scriptable QXLNK32.DLL where the applet's LoadLibraryA("QXLNK32.DLL") finds it, writes
// its script and reads back the calls it received.
#pragma once
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "WindowDriver.h"
#include "discovery/HlpRecords.h"

namespace standin {

inline std::string Hex(const void* data, size_t size)
{
    std::string hex;
    const BYTE* p = static_cast<const BYTE*>(data);
    char two[3];
    for (size_t i = 0; i < size; ++i) {
        snprintf(two, sizeof two, "%02X", p[i]);
        hex += two;
    }
    return hex;
}

// Copies a text into a fixed field; a text as long as the field fills it without a terminator.
template <size_t N>
void CopyField(char (&field)[N], const char* text)
{
    size_t n = strlen(text);
    memcpy(field, text, n < N ? n : N);
}

// A table entry of a TCP/IP server.
inline HLP_DEVICE_ENTRY IpEntry(const char* name, BYTE a, BYTE b, BYTE c, BYTE d, WORD port = 0x0BAD,
                                const char* type = "Farline 8000", const char* ident = "FL8K")
{
    HLP_DEVICE_ENTRY e;
    memset(&e, 0, sizeof e);
    e.wTransport = HLP_TRANSPORT_TCPIP;
    CopyField(e.szType, type);
    CopyField(e.szIdent, ident);
    CopyField(e.szName, name);
    BYTE* p = EntryBytes(e, HLP_OFS_ADDRESS);
    p[0] = 2;
    p[2] = static_cast<BYTE>(port & 0xFF);
    p[3] = static_cast<BYTE>(port >> 8);
    p[4] = a;
    p[5] = b;
    p[6] = c;
    p[7] = d;
    return e;
}

// A table entry of an IPX server; the node's last byte tells servers apart.
inline HLP_DEVICE_ENTRY IpxEntry(const char* name, BYTE node, WORD socket = 0x4545, WORD hops = 1,
                                 const char* type = "Farline 4000", const char* ident = "FL4K")
{
    HLP_DEVICE_ENTRY e;
    memset(&e, 0, sizeof e);
    e.wTransport = HLP_TRANSPORT_IPX;
    CopyField(e.szType, type);
    CopyField(e.szIdent, ident);
    CopyField(e.szName, name);
    BYTE* p = EntryBytes(e, HLP_OFS_ADDRESS);
    p[0] = 0x77;
    const BYTE net[4] = {0x00, 0x00, 0xCA, 0xFE};
    memcpy(EntryBytes(e, HLP_OFS_IPX_NET), net, 4);
    const BYTE nodeBytes[6] = {0x00, 0x80, 0x5F, 0x11, 0x22, node};
    memcpy(EntryBytes(e, HLP_OFS_IPX_NODE), nodeBytes, 6);
    BYTE* s = EntryBytes(e, HLP_OFS_IPX_SOCKET);
    s[0] = static_cast<BYTE>(socket & 0xFF);
    s[1] = static_cast<BYTE>(socket >> 8);
    BYTE* h = EntryBytes(e, HLP_OFS_IPX_HOPS);
    h[0] = static_cast<BYTE>(hops & 0xFF);
    h[1] = static_cast<BYTE>(hops >> 8);
    return e;
}

inline std::string EntryLine(const HLP_DEVICE_ENTRY& e) { return "entry " + Hex(&e, sizeof e) + "\n"; }

// The 14-byte address block by which a query names an IPX server.
inline std::string IpxAddressHex(const HLP_DEVICE_ENTRY& e)
{
    BYTE block[14];
    block[0] = 200;
    block[1] = 0;
    memcpy(block + 2, EntryBytes(e, HLP_OFS_IPX_NET), 4);
    memcpy(block + 6, EntryBytes(e, HLP_OFS_IPX_NODE), 6);
    memcpy(block + 12, EntryBytes(e, HLP_OFS_IPX_SOCKET), 2);
    return Hex(block, sizeof block);
}

// The 18-byte address block of a TCP/IP server, with the entry's port.
inline std::string IpAddressHex(const HLP_DEVICE_ENTRY& e)
{
    BYTE block[18] = {2, 0, 2, 0};
    memcpy(block + 4, EntryBytes(e, HLP_OFS_IP_PORT), 2);
    memcpy(block + 6, EntryBytes(e, HLP_OFS_IP_ADDR), 4);
    return Hex(block, sizeof block);
}

// A server-info answer for an IPX server.
inline std::string InfoLine(const HLP_DEVICE_ENTRY& e, int result, BYTE major, BYTE minor, BYTE revision,
                            DWORD usable = 1)
{
    HLP_SERVER_INFO info;
    memset(&info, 0, sizeof info);
    info.version = {major, minor, revision, 0x80, 0};
    info.flag1 = 1;
    info.flag2 = usable;
    return "info " + IpxAddressHex(e) + " " + std::to_string(result) + " " + Hex(&info, sizeof info) + "\n";
}

// The stand-in chosen for the applet's next loads: "full", a variant lacking one export
// ("no-HLPFindDevices", "no-HLPFindVersionDevices"), or "none" for a folder without the library.
class Standin {
public:
    explicit Standin(const std::string& variant = "full")
    {
        std::string base = std::string(BUILD_DIR) + "/tests/discovery/standin";
        m_script = ui::WindowsPath(base + "/script.txt");
        m_log = ui::WindowsPath(base + "/log.txt");
        SetDllDirectoryA(ui::WindowsPath(base + "/" + variant).c_str());
        SetEnvironmentVariableA("QXLNK_STANDIN_SCRIPT", m_script.c_str());
        SetEnvironmentVariableA("QXLNK_STANDIN_LOG", m_log.c_str());
        Script("");
        ClearLog();
        m_held = CreateEventA(nullptr, FALSE, FALSE, "QxlnkStandinHeld");
        m_release = CreateEventA(nullptr, FALSE, FALSE, "QxlnkStandinRelease");
    }
    ~Standin()
    {
        CloseHandle(m_held);
        CloseHandle(m_release);
        SetDllDirectoryA(nullptr);
        SetEnvironmentVariableA("QXLNK_STANDIN_SCRIPT", nullptr);
        SetEnvironmentVariableA("QXLNK_STANDIN_LOG", nullptr);
    }
    Standin(const Standin&) = delete;
    Standin& operator=(const Standin&) = delete;

    void Script(const std::string& text) const
    {
        HANDLE f = CreateFileA(m_script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(f);
    }
    void ClearLog() const { DeleteFileA(m_log.c_str()); }
    // The calls received since the log was last cleared, one line each.
    std::vector<std::string> Log() const
    {
        std::vector<std::string> lines;
        std::ifstream in(m_log.c_str());
        std::string line;
        while (std::getline(in, line)) lines.push_back(line);
        return lines;
    }
    // The log lines that start with the text.
    std::vector<std::string> Calls(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& l : Log())
            if (l.compare(0, prefix.size(), prefix) == 0) found.push_back(l);
        return found;
    }
    static bool Loaded() { return GetModuleHandleA("QXLNK32.DLL") != nullptr; }

    // For a "hold" line: waits until the engine call is held, and lets it go on.
    bool WaitHeld(DWORD ms = 5000) const { return WaitForSingleObject(m_held, ms) == WAIT_OBJECT_0; }
    void Release() const { SetEvent(m_release); }

private:
    std::string m_script;
    std::string m_log;
    HANDLE m_held = nullptr;
    HANDLE m_release = nullptr;
};

}  // namespace standin
