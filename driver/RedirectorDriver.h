// The control interface of the redirector driver FARLINE.VXD: one handle, two requests.
#pragma once
#include <windows.h>

enum : DWORD {
    FARLINE_IOCTL_RECONFIGURE = 1,   // reload the configuration from the registry; result 0 = success
    FARLINE_IOCTL_PORTS_IN_USE = 2,  // result non-zero while some redirected port is open
};

class CRedirectorDriver {
public:
    CRedirectorDriver() = default;
    ~CRedirectorDriver() { Close(); }
    CRedirectorDriver(const CRedirectorDriver&) = delete;
    CRedirectorDriver& operator=(const CRedirectorDriver&) = delete;

    // Opens \\.\FARLINE.VXD (loading a dynamically loadable driver while the handle is open).
    // 0 on success, else the system's error code; the handle then stays null.
    DWORD Open();
    void Close();
    bool IsOpen() const { return m_hDriver != nullptr; }

    // The driver's result to request 1; -1 when closed or when the request fails.
    LONG Reconfigure();
    // The driver's result to request 2; -1 when closed, 0 when the request fails (counted as idle).
    LONG PortsInUse();

private:
    // Sends a request without input and an 8-byte answer; false when it does not succeed.
    bool Request(DWORD code, LONG& result);

    HANDLE m_hDriver = nullptr;
};
