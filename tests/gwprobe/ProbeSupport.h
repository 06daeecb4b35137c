// What gwprobe's tests share: the registry key the tool reads and writes, capturing standard output,
// running a program with its own environment, and dotted addresses.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace probe {

const char* const kKey = "ZFARLINE";

inline DWORD Ip(const char* text)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    sscanf(text, "%u.%u.%u.%u", &a, &b, &c, &d);
    BYTE octets[4] = {static_cast<BYTE>(a), static_cast<BYTE>(b), static_cast<BYTE>(c), static_cast<BYTE>(d)};
    DWORD value;
    memcpy(&value, octets, 4);
    return value;
}

inline std::string IpText(DWORD address)
{
    const BYTE* o = reinterpret_cast<const BYTE*>(&address);
    char text[16];
    snprintf(text, sizeof text, "%u.%u.%u.%u", o[0], o[1], o[2], o[3]);
    return text;
}

// HKEY_CLASSES_ROOT\ZFARLINE and what lies under it, or the broken link that may stand in its place.
inline void DeleteKey()
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey);
    HKEY link;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kKey, REG_OPTION_OPEN_LINK, DELETE, &link) == ERROR_SUCCESS) {
        typedef LONG(WINAPI * NtDeleteKeyFn)(HANDLE);
        auto deleteKey = reinterpret_cast<NtDeleteKeyFn>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey"));
        if (deleteKey) deleteKey(link);
        RegCloseKey(link);
    }
}

// Puts a (volatile) registry link in the key's place whose target can't exist, so that opening or
// creating ZFARLINE fails with ERROR_FILE_NOT_FOUND.
inline bool MakeKeyUncreatable()
{
    DeleteKey();
    const wchar_t target[] = L"\\Registry\\Machine\\Software\\GwprobeTestNoSuchParent\\ZFARLINE";
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L"ZFARLINE", 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target),
                             sizeof target - sizeof(wchar_t));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

inline void SetServerRaw(const void* data, DWORD size, DWORD type = REG_SZ)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "PORTREVE_ADDR", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

inline void SetServer(const std::string& text) { SetServerRaw(text.c_str(), static_cast<DWORD>(text.size() + 1)); }

// The default value of a subkey of ZFARLINE, or "<absent>".
inline std::string SubkeyDefault(const char* subkey, DWORD* type = nullptr)
{
    std::string path = std::string(kKey) + "\\" + subkey;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<absent>";
    char data[256] = {};
    DWORD size = sizeof data - 1, valueType = 0;
    LONG rc = RegQueryValueExA(key, nullptr, nullptr, &valueType, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return "<absent>";
    if (type) *type = valueType;
    return std::string(data);
}

inline void SetSubkeyDefault(const char* subkey, const std::string& text)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueA(key, subkey, REG_SZ, text.c_str(), static_cast<DWORD>(text.size()));
    RegCloseKey(key);
}

// Runs fn with standard output going to a file, and returns exactly the bytes it wrote.
template <typename Fn>
std::string CaptureStdout(Fn fn)
{
    fflush(stdout);
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    GetTempFileNameA(dir, "gwp", 0, path);
    FILE* file = fopen(path, "w+b");
    int saved = _dup(_fileno(stdout));
    _dup2(_fileno(file), _fileno(stdout));
    int oldMode = _setmode(_fileno(stdout), _O_BINARY);
    fn();
    fflush(stdout);
    _setmode(_fileno(stdout), oldMode);
    _dup2(saved, _fileno(stdout));
    _close(saved);
    std::string text;
    fseek(file, 0, SEEK_SET);
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    fclose(file);
    DeleteFileA(path);
    return text;
}

inline int Count(const std::string& text, const std::string& piece)
{
    int n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++n;
    return n;
}

inline std::string WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

struct RunResult {
    DWORD exitCode = 0;
    std::string output;  // standard output and error, exactly as written
};

// Runs a program with the current environment plus the given NAME=value entries (replacing
// variables of the same name), collecting its output; gives up after timeoutMs.
inline RunResult Run(const std::string& exe, const std::vector<std::string>& environment, DWORD timeoutMs = 60000)
{
    std::vector<std::string> entries;
    LPCH block = GetEnvironmentStringsA();
    for (const char* p = block; *p; p += strlen(p) + 1) {
        std::string entry = p;
        bool replaced = false;
        for (const std::string& mine : environment) {
            size_t eq = mine.find('=');
            if (_strnicmp(entry.c_str(), mine.c_str(), eq + 1) == 0) replaced = true;
        }
        if (!replaced) entries.push_back(entry);
    }
    FreeEnvironmentStringsA(block);
    for (const std::string& mine : environment) entries.push_back(mine);
    std::string envBlock;
    for (const std::string& e : entries) envBlock += e + '\0';
    envBlock += '\0';

    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    CreatePipe(&readEnd, &writeEnd, &sa, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + exe + "\"";
    RunResult result;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, &envBlock[0], nullptr, &si, &pi)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        result.exitCode = 0xDEADBEEF;
        result.output = "<CreateProcess failed>";
        return result;
    }
    CloseHandle(writeEnd);
    char chunk[4096];
    DWORD got;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got) result.output.append(chunk, got);
    CloseHandle(readEnd);
    if (WaitForSingleObject(pi.hProcess, timeoutMs) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 0xDEAD);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

}  // namespace probe
