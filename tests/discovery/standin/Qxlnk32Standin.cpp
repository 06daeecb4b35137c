// A scriptable QXLNK32.DLL for tests: answers every discovery entry point as the script file named
// by QXLNK_STANDIN_SCRIPT says, and appends each call with its arguments to the log file named by
// QXLNK_STANDIN_LOG. Built in variants that lack one export (OMIT_<name>).
//
// Script lines (hex blobs without spaces; missing bytes are zero):
//   refuse_load                    loading fails, as when the engine is missing
//   init <result>                  HLPInitStack's answer (default 0)
//   find <result> [count]          the search's answer; count defaults to the entries given
//   entry <hex>                    one 123-byte table entry, in table order
//   generate <n>                   n distinct entries of the searched transport named GEN<i>
//   info <addresshex> <result> [<infohex>]   server-info answer for that address (default -55)
//   serial <result> [count]        the port-group listing's answer; count defaults to the names
//   name <text>                    one port-group name (the rest of the line)
//   namehex <hex>                  one raw 256-byte name entry
//   found <result> [<hex>]         one find-one-device answer per call; the last one repeats
//   hold <entrypoint> <n>          at the n-th call, signal QxlnkStandinHeld and wait (handling
//                                  sent messages) until QxlnkStandinRelease is set
#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#pragma pack(push, 1)
struct Version {
    BYTE b[5];
};
#pragma pack(pop)

namespace {

const int kEntrySize = 123;
const int kNameSize = 256;
const int kFoundSize = 132;
const int kInfoSize = 16;

std::vector<std::string> ScriptLines()
{
    std::vector<std::string> lines;
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("QXLNK_STANDIN_SCRIPT", path, sizeof path)) return lines;
    FILE* f = fopen(path, "rb");
    if (!f) return lines;
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, f)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    fclose(f);
    return lines;
}

void Log(const std::string& text)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("QXLNK_STANDIN_LOG", path, sizeof path)) return;
    FILE* f = fopen(path, "ab");
    if (!f) return;
    fprintf(f, "%s\n", text.c_str());
    fclose(f);
}

std::string Printf(const char* fmt, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, fmt);
    vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    return buffer;
}

// The first word of a line and the rest after one blank.
std::string Keyword(const std::string& line, std::string& rest)
{
    size_t blank = line.find(' ');
    if (blank == std::string::npos) {
        rest.clear();
        return line;
    }
    rest = line.substr(blank + 1);
    return line.substr(0, blank);
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::vector<BYTE> FromHex(const std::string& hex, size_t size)
{
    std::vector<BYTE> bytes(size, 0);
    for (size_t i = 0; i + 1 < hex.size() && i / 2 < size; i += 2)
        bytes[i / 2] = static_cast<BYTE>(strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

std::string ToHex(const void* data, size_t size)
{
    std::string hex;
    const BYTE* p = static_cast<const BYTE*>(data);
    for (size_t i = 0; i < size; ++i) hex += Printf("%02X", p[i]);
    return hex;
}

// The bytes of an address block: 14 for IPX, 18 for TCP/IP.
std::string AddressHex(const void* address)
{
    if (!address) return "null";
    WORD transport;
    memcpy(&transport, address, 2);
    return ToHex(address, transport == 200 ? 14 : 18);
}

const char* Ptr(const void* p) { return p ? "ptr" : "null"; }
std::string Text(const char* s) { return s ? std::string(s) : std::string("null"); }

// Calls made to each entry point since the library was loaded.
int g_calls[8];
enum { FIND_VERSION, FIND, SERIAL, INFO, FOUND, INIT, CLOSE, COUNT };
const char* kNames[] = {"HLPFindVersionDevices", "HLPFindDevices", "HLPGetSerialNames", "HLPGetServerInfo",
                        "HLPFindADevice", "HLPInitStack", "HLPCloseStack"};

// Waits where the script asks to, letting other threads' sent messages through meanwhile.
void MaybeHold(int which)
{
    int call = ++g_calls[which];
    for (const std::string& line : ScriptLines()) {
        std::string rest;
        if (Keyword(line, rest) != "hold") continue;
        std::vector<std::string> w = Words(rest);
        if (w.size() < 2 || w[0] != kNames[which] || atoi(w[1].c_str()) != call) continue;
        HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, "QxlnkStandinHeld");
        HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "QxlnkStandinRelease");
        if (held) SetEvent(held);
        DWORD start = GetTickCount();
        while (release && GetTickCount() - start < 10000) {
            DWORD r = MsgWaitForMultipleObjects(1, &release, FALSE, 100, QS_SENDMESSAGE);
            if (r == WAIT_OBJECT_0) break;
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        if (held) CloseHandle(held);
        if (release) CloseHandle(release);
    }
}

// The entries the script gives for a search on the transport.
std::vector<std::vector<BYTE>> Entries(const std::vector<std::string>& lines, int transport)
{
    std::vector<std::vector<BYTE>> entries;
    for (const std::string& line : lines) {
        std::string rest;
        std::string key = Keyword(line, rest);
        if (key == "entry") entries.push_back(FromHex(rest, kEntrySize));
        if (key == "generate") {
            int n = atoi(rest.c_str());
            for (int i = 0; i < n; ++i) {
                std::vector<BYTE> e(kEntrySize, 0);
                e[0] = static_cast<BYTE>(transport & 0xFF);
                e[1] = static_cast<BYTE>(transport >> 8);
                strcpy(reinterpret_cast<char*>(&e[2]), "Generated");
                strcpy(reinterpret_cast<char*>(&e[50]), "GEN");
                snprintf(reinterpret_cast<char*>(&e[59]), 48, "GEN%d", i);
                e[107] = 2;
                e[111] = 10;
                e[112] = static_cast<BYTE>(i >> 8);
                e[113] = static_cast<BYTE>(i & 0xFF);
                e[114] = 1;
                entries.push_back(e);
            }
        }
    }
    return entries;
}

int Search(int transport, void* table, int tableSize, WORD* count)
{
    std::vector<std::string> lines = ScriptLines();
    int result = 0;
    int claimed = -1;
    for (const std::string& line : lines) {
        std::string rest;
        if (Keyword(line, rest) != "find") continue;
        std::vector<std::string> w = Words(rest);
        if (!w.empty()) result = atoi(w[0].c_str());
        if (w.size() > 1) claimed = atoi(w[1].c_str());
    }
    std::vector<std::vector<BYTE>> entries = Entries(lines, transport);
    size_t room = static_cast<size_t>(tableSize) / kEntrySize;
    for (size_t i = 0; i < entries.size() && i < room && table; ++i)
        memcpy(static_cast<BYTE*>(table) + i * kEntrySize, entries[i].data(), kEntrySize);
    if (count) *count = static_cast<WORD>(claimed >= 0 ? claimed : static_cast<int>(entries.size()));
    return result;
}

}  // namespace

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

#ifndef OMIT_HLPInitStack
STANDIN_EXPORT int HLPInitStack(int transport)
{
    Log(Printf("HLPInitStack %d", transport));
    MaybeHold(INIT);
    int result = 0;
    for (const std::string& line : ScriptLines()) {
        std::string rest;
        if (Keyword(line, rest) == "init") result = atoi(rest.c_str());
    }
    return result;
}
#endif

#ifndef OMIT_HLPCloseStack
STANDIN_EXPORT int HLPCloseStack(int transport)
{
    Log(Printf("HLPCloseStack %d", transport));
    MaybeHold(CLOSE);
    return 0;
}
#endif

#ifndef OMIT_HLPFindVersionDevices
STANDIN_EXPORT int HLPFindVersionDevices(int transport, int mode, const char* type, const char* name, void* table,
                                         int tableSize, WORD* count, void* r1, int flags, void* r2,
                                         const Version* version)
{
    Log(Printf("HLPFindVersionDevices %d %d %s %s %s %d count=%d %s %d %s version=%s", transport, mode,
               Text(type).c_str(), Text(name).c_str(), Ptr(table), tableSize, count ? *count : -1, Ptr(r1), flags,
               Ptr(r2), version ? ToHex(version, 5).c_str() : "null"));
    MaybeHold(FIND_VERSION);
    return Search(transport, table, tableSize, count);
}
#endif

#ifndef OMIT_HLPFindDevices
STANDIN_EXPORT int HLPFindDevices(int transport, int mode, const char* type, const char* name, void* table,
                                  int tableSize, WORD* count, void* r1, int flags, void* r2)
{
    Log(Printf("HLPFindDevices %d %d %s %s %s %d", transport, mode, Text(type).c_str(), Text(name).c_str(),
               Ptr(table), tableSize));
    (void)r1;
    (void)r2;
    (void)flags;
    MaybeHold(FIND);
    return Search(transport, table, tableSize, count);
}
#endif

#ifndef OMIT_HLPGetSerialNames
STANDIN_EXPORT int HLPGetSerialNames(int transport, int mode, const void* address, void* names, int namesSize,
                                     WORD* count, void* r1, int wait, void* r2)
{
    Log(Printf("HLPGetSerialNames %d %d addr=%s %s %d count=%d %s %d %s", transport, mode, AddressHex(address).c_str(),
               Ptr(names), namesSize, count ? *count : -1, Ptr(r1), wait, Ptr(r2)));
    MaybeHold(SERIAL);
    int result = 0;
    int claimed = -1;
    std::vector<std::vector<BYTE>> listed;
    for (const std::string& line : ScriptLines()) {
        std::string rest;
        std::string key = Keyword(line, rest);
        if (key == "serial") {
            std::vector<std::string> w = Words(rest);
            if (!w.empty()) result = atoi(w[0].c_str());
            if (w.size() > 1) claimed = atoi(w[1].c_str());
        } else if (key == "name") {
            std::vector<BYTE> n(kNameSize, 0);
            memcpy(n.data(), rest.c_str(), rest.size() < kNameSize - 1 ? rest.size() : kNameSize - 1);
            listed.push_back(n);
        } else if (key == "namehex") {
            listed.push_back(FromHex(rest, kNameSize));
        }
    }
    if (result != 0) return result;
    size_t room = static_cast<size_t>(namesSize) / kNameSize;
    for (size_t i = 0; i < listed.size() && i < room && names; ++i)
        memcpy(static_cast<BYTE*>(names) + i * kNameSize, listed[i].data(), kNameSize);
    if (count) *count = static_cast<WORD>(claimed >= 0 ? claimed : static_cast<int>(listed.size()));
    return 0;
}
#endif

#ifndef OMIT_HLPGetServerInfo
STANDIN_EXPORT int HLPGetServerInfo(const void* address, void* info, int flags, void* r)
{
    std::string hex = AddressHex(address);
    Log(Printf("HLPGetServerInfo addr=%s %d %s", hex.c_str(), flags, Ptr(r)));
    MaybeHold(INFO);
    for (const std::string& line : ScriptLines()) {
        std::string rest;
        if (Keyword(line, rest) != "info") continue;
        std::vector<std::string> w = Words(rest);
        if (w.size() < 2 || w[0] != hex) continue;
        int result = atoi(w[1].c_str());
        if (w.size() > 2 && info) memcpy(info, FromHex(w[2], kInfoSize).data(), kInfoSize);
        return result;
    }
    return -55;
}
#endif

#ifndef OMIT_HLPFindADevice
STANDIN_EXPORT int HLPFindADevice(const void* address, const char* host, void* found, int flags, const char* community)
{
    Log(Printf("HLPFindADevice addr=%s host=%s %s %d %s", AddressHex(address).c_str(), Text(host).c_str(), Ptr(found),
               flags, Text(community).c_str()));
    int call = g_calls[FOUND] + 1;
    MaybeHold(FOUND);
    std::vector<std::string> answers;
    for (const std::string& line : ScriptLines()) {
        std::string rest;
        if (Keyword(line, rest) == "found") answers.push_back(rest);
    }
    if (answers.empty()) return -55;
    const std::string& answer = answers[static_cast<size_t>(call) <= answers.size() ? call - 1 : answers.size() - 1];
    std::vector<std::string> w = Words(answer);
    int result = w.empty() ? 0 : atoi(w[0].c_str());
    if (w.size() > 1 && found) memcpy(found, FromHex(w[1], kFoundSize).data(), kFoundSize);
    return result;
}
#endif

STANDIN_EXPORT void Test() { Log("Test"); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        for (const std::string& line : ScriptLines()) {
            if (line == "refuse_load") {
                Log("load refused");
                return FALSE;
            }
        }
        Log("load");
    } else if (reason == DLL_PROCESS_DETACH) {
        Log("unload");
    }
    return TRUE;
}
