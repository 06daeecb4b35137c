#include "tools/gwprobe/gwprobe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int GetRegistryString(HKEY root, const char* keyName, const char* valueName, char* buffer, DWORD bufferSize)
{
    HKEY key;
    LONG rc = RegOpenKeyExA(root, keyName, 0, KEY_QUERY_VALUE, &key);
    if (rc != ERROR_SUCCESS) {
        printf("RegOpenKey of %s failed (%ld.)\n", keyName, static_cast<long>(rc));
        return -1;
    }
    if (bufferSize == 0) {
        RegCloseKey(key);
        return 0;
    }
    DWORD type = 0;
    DWORD size = bufferSize;
    rc = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || size > bufferSize) {
        buffer[0] = '\0';
        return 0;
    }
    // The data need not end in a null: add one where there is room, and refuse a value that fills
    // the whole buffer without one, since its text would not fit.
    if (size < bufferSize) {
        buffer[size] = '\0';
    } else if (!memchr(buffer, '\0', bufferSize)) {
        buffer[0] = '\0';
        return 0;
    }
    return 1;
}

int SetProfileString(HKEY root, const char* keyName, const char* subkeyName, const char* text)
{
    char name[GW_KEY_NAME_SIZE];
    size_t length = strlen(keyName);
    if (length >= sizeof name) {
        printf("_RegCreateKey of %s failed (%ld.)\n", keyName, static_cast<long>(ERROR_INVALID_PARAMETER));
        return -1;
    }
    memcpy(name, keyName, length + 1);

    HKEY key;
    LONG rc = RegCreateKeyA(root, name, &key);
    if (rc != ERROR_SUCCESS) {
        printf("_RegCreateKey of %s failed (%ld.)\n", name, static_cast<long>(rc));
        return -1;
    }
    // Each result is the default value of its own subkey; a failed write changes nothing here.
    RegSetValueA(key, subkeyName, REG_SZ, text, static_cast<DWORD>(strlen(text)));
    RegSetValueA(key, "GW_INFO_ADDED", REG_SZ, "DONE", 4);
    RegCloseKey(key);
    return 0;
}

void AsciiToIPAddress(const char* text, DWORD* address)
{
    BYTE octets[4] = {0, 0, 0, 0};
    char part[GW_ADDRESS_PART_SIZE];
    int parts = 0;
    const char* p = text;
    for (;;) {
        size_t length = strcspn(p, ".");
        // A fifth part or an overlong one makes the whole text unusable.
        if (parts == 4 || length >= sizeof part) {
            *address = 0;
            return;
        }
        memcpy(part, p, length);
        part[length] = '\0';
        int value = atoi(part);
        if (value < 0 || value > 255) {
            *address = 0;
            return;
        }
        octets[parts++] = static_cast<BYTE>(value);
        if (p[length] == '\0') break;
        p += length + 1;
    }
    if (parts != 4) {
        *address = 0;
        return;
    }
    memcpy(address, octets, 4);
}

char* my_itoa(int value, char* buffer)
{
    char digits[12];
    int count = 0;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    char* out = buffer;
    if (value < 0) *out++ = '-';
    while (count) *out++ = digits[--count];
    *out = '\0';
    return buffer;
}
