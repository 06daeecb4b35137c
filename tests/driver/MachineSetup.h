// The computer around the port device registration: the HKEY_LOCAL_MACHINE keys a Windows 95
// machine has, and which COM ports have a device behind them in the test prefix.
#pragma once
#include <windows.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace machine {

inline const char* PortsKey() { return "Enum\\Root\\PORTS"; }
inline const char* ClassKey() { return "System\\CurrentControlSet\\Services\\Class\\Ports\\0100"; }
inline std::string DeviceKey(int port) { return std::string(PortsKey()) + "\\Zantu0" + std::to_string(port); }

inline bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void CreateKey(const std::string& path)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

// Lays out the keys as Windows 95 has them: Enum\Root and Services\Class\Ports exist (each can be
// left out), and there is neither a port device of ours nor the 0100 port class key.
inline void PrepareKeys(bool enumRoot = true, bool classPorts = true)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Enum");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class");
    if (enumRoot) CreateKey("Enum\\Root");
    if (classPorts) CreateKey("System\\CurrentControlSet\\Services\\Class\\Ports");
}

struct Value {
    DWORD type = REG_NONE;
    std::string data;
    bool operator==(const Value& o) const { return type == o.type && data == o.data; }
};

// A REG_SZ as stored: the text and its terminating null.
inline Value Sz(const std::string& text) { return {REG_SZ, text + std::string(1, '\0')}; }
inline Value Binary(const std::string& bytes) { return {REG_BINARY, bytes}; }

// Every value of a key, by name.
inline std::map<std::string, Value> Values(const std::string& path)
{
    std::map<std::string, Value> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        values[name] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
    }
    RegCloseKey(key);
    return values;
}

// The class text a key was created with.
inline std::string KeyClass(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char text[256] = "";
    DWORD size = sizeof text;
    RegQueryInfoKeyA(key, text, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return text;
}

// Runs a shell command on the host side of Wine and waits for it.
inline bool RunUnix(const std::string& script)
{
    std::string command = "/bin/sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Decides which COM ports have a device behind them, for one test, and puts the prefix back as it
// was afterwards. Wine finds COMn through a DOS device definition or, failing that, through the
// prefix's dosdevices\comn link to a host serial device; a hidden port has neither.
class ComPorts {
public:
    ComPorts()
    {
        char prefix[MAX_PATH] = "";
        GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
        m_dosdevices = std::string(prefix) + "/dosdevices/";
        // Links a crashed run left hidden come back first.
        RunUnix("for f in '" + m_dosdevices + "'com*" + kHidden + "; do [ -L $f ] && mv -n $f ${f%" + kHidden +
                "}; done; true");
    }
    ~ComPorts() { Restore(); }
    ComPorts(const ComPorts&) = delete;
    ComPorts& operator=(const ComPorts&) = delete;

    // No device named COMn.
    void Hide(int port)
    {
        std::string name = Name(port);
        if (!m_saved.count(port)) {
            char target[1024] = "";
            m_saved[port] = QueryDosDeviceA(name.c_str(), target, sizeof target) ? target : "";
            std::string link = m_dosdevices + "com" + std::to_string(port);
            RunUnix("[ -L '" + link + "' ] && mv -f '" + link + "' '" + link + kHidden + "'; true");
        }
        char probe[1024];
        for (int i = 0; i < 8 && QueryDosDeviceA(name.c_str(), probe, sizeof probe); ++i)
            DefineDosDeviceA(DDD_REMOVE_DEFINITION, name.c_str(), nullptr);
    }
    // A device behind COMn (the null device stands for a real serial port).
    void Provide(int port) { ProvideTarget(port, "\\Device\\Null"); }
    // COMn names the given device.
    void ProvideTarget(int port, const char* device)
    {
        Hide(port);
        DefineDosDeviceA(DDD_RAW_TARGET_PATH, Name(port).c_str(), device);
    }
    // Every port as it was before.
    void Restore()
    {
        for (const auto& saved : m_saved) {
            std::string name = Name(saved.first);
            char probe[1024];
            for (int i = 0; i < 8 && QueryDosDeviceA(name.c_str(), probe, sizeof probe); ++i)
                DefineDosDeviceA(DDD_REMOVE_DEFINITION, name.c_str(), nullptr);
            if (!saved.second.empty()) DefineDosDeviceA(DDD_RAW_TARGET_PATH, name.c_str(), saved.second.c_str());
            std::string link = m_dosdevices + "com" + std::to_string(saved.first);
            RunUnix("[ -L '" + link + kHidden + "' ] && mv -f '" + link + kHidden + "' '" + link + "'; true");
        }
        m_saved.clear();
    }
    // Whether COMn can be opened right now.
    static bool Opens(int port)
    {
        HANDLE h = CreateFileA(Name(port).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
        return true;
    }

private:
    static constexpr const char* kHidden = ".hidden-by-test";
    static std::string Name(int port) { return "COM" + std::to_string(port); }

    std::string m_dosdevices;
    std::map<int, std::string> m_saved;  // the DOS device target each touched port had ("" none)
};

}  // namespace machine
