#include "driver/RedirectorDriver.h"

DWORD CRedirectorDriver::Open()
{
    Close();
    HANDLE handle = ::CreateFileA("\\\\.\\FARLINE.VXD", 0, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return ::GetLastError();
    m_hDriver = handle;
    return 0;
}

void CRedirectorDriver::Close()
{
    if (m_hDriver) ::CloseHandle(m_hDriver);
    m_hDriver = nullptr;
}

bool CRedirectorDriver::Request(DWORD code, LONG& result)
{
    // The answer: the result at offset 0, four bytes the applet does not read at offset 4.
    LONG answer[2] = {0, 0};
    DWORD returned = 0;
    if (!::DeviceIoControl(m_hDriver, code, nullptr, 0, answer, sizeof answer, &returned, nullptr)) return false;
    result = answer[0];
    return true;
}

LONG CRedirectorDriver::Reconfigure()
{
    LONG result;
    if (!m_hDriver || !Request(FARLINE_IOCTL_RECONFIGURE, result)) return -1;
    return result;
}

LONG CRedirectorDriver::PortsInUse()
{
    if (!m_hDriver) return -1;
    LONG result;
    return Request(FARLINE_IOCTL_PORTS_IN_USE, result) ? result : 0;
}
