#include "driver/PortRegistration.h"
#include <cstdio>

namespace {

const char kPortsKey[] = "Enum\\Root\\PORTS";
const char kRootKey[] = "Enum\\Root";
const char kClassParentKey[] = "System\\CurrentControlSet\\Services\\Class\\Ports";
const char kClassKey[] = "System\\CurrentControlSet\\Services\\Class\\Ports\\0100";
// The class text of every key this module creates.
char kKeyClass[] = "Zantu Port Object Type";

bool ValidPort(int port) { return port >= 1 && port <= 4; }

// "Zantu01" for COM1.
void DeviceKeyName(int port, char (&name)[16]) { std::snprintf(name, sizeof name, "Zantu0%d", port); }

bool KeyExists(HKEY parent, const char* path)
{
    HKEY key;
    if (::RegOpenKeyExA(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// Closes the key when the scope ends.
struct ScopedKey {
    HKEY h = nullptr;
    ~ScopedKey()
    {
        if (h) ::RegCloseKey(h);
    }
};

LONG CreateKey(HKEY parent, const char* name, ScopedKey& key)
{
    DWORD disposition;
    return ::RegCreateKeyExA(parent, name, 0, kKeyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key.h,
                             &disposition);
}

bool SetString(HKEY key, const char* name, const char* text)
{
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            static_cast<DWORD>(lstrlenA(text) + 1)) == ERROR_SUCCESS;
}

bool SetBinary(HKEY key, const char* name, const void* data, DWORD size)
{
    return ::RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

}  // namespace

bool CPortRegistration::IsRegistered(int port) const
{
    if (!ValidPort(port)) return false;
    char name[16];
    DeviceKeyName(port, name);
    char path[64];
    std::snprintf(path, sizeof path, "%s\\%s", kPortsKey, name);
    return KeyExists(HKEY_LOCAL_MACHINE, path);
}

bool CPortRegistration::PortExists(int port) const
{
    if (!ValidPort(port)) return false;
    char name[8];
    std::snprintf(name, sizeof name, "COM%d", port);
    // An existence test: no data access is asked for, and a device that is there but cannot be
    // opened now (another program holds the port) exists all the same.
    HANDLE handle =
        ::CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME: return false;
        default: return true;
        }
    }
    ::CloseHandle(handle);
    return true;
}

int CPortRegistration::Register(int port)
{
    if (!ValidPort(port)) return RESULT_BAD_PORT;
    int result = WriteDeviceKey(port);
    if (result != RESULT_OK) return result;
    return WriteClassKey();
}

int CPortRegistration::Unregister(int port)
{
    if (!ValidPort(port)) return RESULT_BAD_PORT;
    ScopedKey ports;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_ALL_ACCESS, &ports.h) != ERROR_SUCCESS)
        return RESULT_DELETE_FAILED;
    char name[16];
    DeviceKeyName(port, name);
    return ::RegDeleteKeyA(ports.h, name) == ERROR_SUCCESS ? RESULT_OK : RESULT_DELETE_FAILED;
}

int CPortRegistration::WriteDeviceKey(int port)
{
    ScopedKey ports;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_ALL_ACCESS, &ports.h) != ERROR_SUCCESS) {
        ScopedKey root;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRootKey, 0, KEY_ALL_ACCESS, &root.h) != ERROR_SUCCESS)
            return RESULT_REGISTRY;
        if (CreateKey(root.h, "PORTS", ports) != ERROR_SUCCESS) return RESULT_REGISTRY;
    }
    char name[16];
    DeviceKeyName(port, name);
    // A key already there is left as it is, even when an earlier write left it incomplete.
    if (KeyExists(ports.h, name)) return RESULT_OK;
    ScopedKey device;
    if (CreateKey(ports.h, name, device) != ERROR_SUCCESS) return RESULT_REGISTRY;

    char description[64], portName[8];
    std::snprintf(description, sizeof description, "Zantu Farline Port (COM%d)", port);
    std::snprintf(portName, sizeof portName, "COM%d", port);
    const char* const strings[][2] = {
        {"Class", "Ports"},       {"DeviceDesc", description}, {"Driver", "Ports\\0100"},
        {"FRIENDLYNAME", description}, {"Mfg", "Zantu"},      {"PortName", portName},
    };
    int result = RESULT_OK;
    for (const auto& value : strings) {
        if (!SetString(device.h, value[0], value[1])) {
            result = RESULT_REGISTRY;
            break;
        }
    }
    const BYTE configFlags[4] = {0, 0, 0, 0};
    if (!SetBinary(device.h, "ConfigFlags", configFlags, sizeof configFlags)) result = RESULT_REGISTRY;
    return result;
}

int CPortRegistration::WriteClassKey()
{
    if (KeyExists(HKEY_LOCAL_MACHINE, kClassKey)) return RESULT_OK;
    ScopedKey parent;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClassParentKey, 0, KEY_ALL_ACCESS, &parent.h) != ERROR_SUCCESS)
        return RESULT_REGISTRY;
    ScopedKey key;
    if (CreateKey(parent.h, "0100", key) != ERROR_SUCCESS) return RESULT_REGISTRY;

    const char* const strings[][2] = {
        {"ConfigDialog", "serialui.dll"},
        {"Contention", "vcd"},
        {"DevLoader", "vcomm"},
        {"DriverDesc", "Zantu Farline COM Port"},
        {"Enumerator", "serenum.vxd"},
        {"EnumPropPages", "serialui.dll,EnumPropPages"},
        {"InfPath", "MSPORTS.INF"},
        {"InfSection", "ComPort"},
        {"PortDriver", "serial.vxd"},
    };
    int result = RESULT_OK;
    for (const auto& value : strings) {
        if (!SetString(key.h, value[0], value[1])) {
            result = RESULT_REGISTRY;
            break;
        }
    }
    const BYTE subClass = 0x01;
    if (!SetBinary(key.h, "PortSubClass", &subClass, 1)) result = RESULT_REGISTRY;
    return result;
}
