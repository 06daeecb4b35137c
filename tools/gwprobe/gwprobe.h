// gwprobe's registry and address-text functions; the main flow is in gwprobe_main.cpp.
#pragma once
#include <windows.h>

// Fixed buffer sizes of the tool.
const DWORD GW_KEY_NAME_SIZE = 128;     // key names of at most 127 characters
const DWORD GW_SERVER_TEXT_SIZE = 32;   // server address text
const DWORD GW_HOST_NAME_SIZE = 256;
const DWORD GW_GATEWAY_TEXT_SIZE = 32;
const DWORD GW_ADDRESS_PART_SIZE = 8;   // one part of a dotted address, at most 7 characters

// Reads a named value of an existing key into buffer, always leaving a terminated text there.
// 1 when read, 0 when the value can't be read (missing, too long for the buffer with its
// terminating null, any other error), -1 when the key can't be opened.
int GetRegistryString(HKEY root, const char* keyName, const char* valueName, char* buffer, DWORD bufferSize);

// Opens or creates keyName under root, sets the default value of its subkey subkeyName to text and
// that of its subkey GW_INFO_ADDED to "DONE". 0 once the key was opened or created, else -1.
int SetProfileString(HKEY root, const char* keyName, const char* subkeyName, const char* text);

// Converts dotted-quad text to an address with its first number in the lowest byte. Text that is
// not four dot-separated parts of at most seven characters, each converting to 0..255, gives 0.0.0.0.
void AsciiToIPAddress(const char* text, DWORD* address);

// Writes the decimal digits of value (no leading zeros) and a terminating null; returns buffer.
char* my_itoa(int value, char* buffer);
