// Reading and writing single configuration values under the applet key, with the check codes
// that decide whether a stored value is usable.
#pragma once
#include <windows.h>
#include "framework/String.h"

// HKEY_CURRENT_USER\Control Panel\Zantu Quillet95 and its subkeys.
#define APPLET_KEY "Control Panel\\Zantu Quillet95"
#define APPLET_SUBKEY_COMM APPLET_KEY "\\COMM"
#define APPLET_SUBKEY_ZFARLINE APPLET_KEY "\\ZFARLINE"
#define APPLET_SUBKEY_SERVERS APPLET_KEY "\\SERVERS"

// How a value exchange moves data.
enum XferMode {
    XFER_LOAD = 0,         // read; an unusable value is replaced by the default, which is written back
    XFER_LOAD_STRICT = 1,  // read; an unusable value makes the exchange fail
    XFER_SAVE = 2,         // write the field
    XFER_DEFAULT = 3,      // set the field to the default and write it
};

// Check codes of QueryValue.
enum QueryCheck {
    QUERY_VALID = 0,
    QUERY_READ_FAILED = 1,   // absent, larger than the buffer, or any other error
    QUERY_WRONG_TYPE = 2,
    QUERY_BAD_DWORD_SIZE = 3,
    QUERY_OUT_OF_RANGE = 4,
};

// An open registry key, closed when the object goes.
class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // Opens with create-if-absent and all access; created tells whether the key was new.
    LONG Create(HKEY parent, const char* path, bool* created = nullptr);
    void Close();
    HKEY m_hKey = nullptr;
    operator HKEY() const { return m_hKey; }
};

// Reads one value into a buffer of bufferSize bytes. For REG_SZ the range applies to the stored
// size including the terminating null, and the text in the buffer is always terminated; for
// REG_DWORD to the value, compared unsigned.
int QueryValue(HKEY key, const char* name, DWORD expectedType, DWORD bufferSize, BYTE* buffer, DWORD minimum,
               DWORD maximum);

bool WriteDword(HKEY key, const char* name, DWORD value);
bool WriteString(HKEY key, const char* name, const CString& value);

bool ExchangeDword(HKEY key, const char* name, DWORD& field, DWORD minimum, DWORD maximum, DWORD def, int mode);
// Accepts stored sizes from 1 to sizeLimit bytes (terminating null included).
bool ExchangeString(HKEY key, const char* name, CString& field, DWORD sizeLimit, const char* def, int mode);
