#include "config/RegistryExchange.h"
#include <vector>

LONG CRegKey::Create(HKEY parent, const char* path, bool* created)
{
    Close();
    DWORD disposition = 0;
    LONG rc = ::RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_hKey,
                                &disposition);
    if (rc != ERROR_SUCCESS) m_hKey = nullptr;
    if (created) *created = rc == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
    return rc;
}

void CRegKey::Close()
{
    if (m_hKey) ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

int QueryValue(HKEY key, const char* name, DWORD expectedType, DWORD bufferSize, BYTE* buffer, DWORD minimum,
               DWORD maximum)
{
    DWORD type = 0;
    DWORD size = bufferSize;
    if (::RegQueryValueExA(key, name, nullptr, &type, buffer, &size) != ERROR_SUCCESS) return QUERY_READ_FAILED;
    if (type != expectedType) return QUERY_WRONG_TYPE;
    if (type == REG_DWORD) {
        if (size != sizeof(DWORD)) return QUERY_BAD_DWORD_SIZE;
        DWORD value;
        memcpy(&value, buffer, sizeof value);
        return value < minimum || value > maximum ? QUERY_OUT_OF_RANGE : QUERY_VALID;
    }
    if (size < minimum || size > maximum) return QUERY_OUT_OF_RANGE;
    if (type == REG_SZ && memchr(buffer, 0, size) == nullptr) {
        // Text stored without its terminating null: terminate it when the buffer has room;
        // text that fills the whole buffer would need one byte more than allowed.
        if (size >= bufferSize) return QUERY_OUT_OF_RANGE;
        buffer[size] = 0;
    }
    return QUERY_VALID;
}

bool WriteDword(HKEY key, const char* name, DWORD value)
{
    return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

bool WriteString(HKEY key, const char* name, const CString& value)
{
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool ExchangeDword(HKEY key, const char* name, DWORD& field, DWORD minimum, DWORD maximum, DWORD def, int mode)
{
    switch (mode) {
    case XFER_LOAD:
    case XFER_LOAD_STRICT: {
        DWORD value = 0;
        int check = QueryValue(key, name, REG_DWORD, sizeof value, reinterpret_cast<BYTE*>(&value), minimum, maximum);
        if (check == QUERY_VALID) {
            field = value;
            return true;
        }
        if (mode == XFER_LOAD_STRICT) return false;
        field = def;
        return WriteDword(key, name, field);
    }
    case XFER_SAVE:
        return WriteDword(key, name, field);
    case XFER_DEFAULT:
        field = def;
        return WriteDword(key, name, field);
    default:
        return false;
    }
}

bool ExchangeString(HKEY key, const char* name, CString& field, DWORD sizeLimit, const char* def, int mode)
{
    switch (mode) {
    case XFER_LOAD:
    case XFER_LOAD_STRICT: {
        std::vector<BYTE> buffer(sizeLimit + 1, 0);
        int check = QueryValue(key, name, REG_SZ, sizeLimit, buffer.data(), 1, sizeLimit);
        if (check == QUERY_VALID) {
            field = reinterpret_cast<const char*>(buffer.data());
            return true;
        }
        if (mode == XFER_LOAD_STRICT) return false;
        field = def;
        return WriteString(key, name, field);
    }
    case XFER_SAVE:
        return WriteString(key, name, field);
    case XFER_DEFAULT:
        field = def;
        return WriteString(key, name, field);
    default:
        return false;
    }
}
