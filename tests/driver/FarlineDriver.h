// Steers the substitute FARLINE.VXD running in the test prefix and reads back what it was asked:
// its answers and records are values of its Parameters key; it is started and stopped through
// the Service Control Manager like any driver service.
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "outside/driver/FarlineControl.h"

class FarlineDriver {
public:
    // Forgets every answer and record.
    static void Reset() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, FARLINE_PARAMETERS_KEY); }

    // The result the driver reports for every request of a code.
    static void SetAnswer(unsigned code, LONG result) { SetDword(Name(FARLINE_ANSWER_FORMAT, code), result); }
    // Results for the first requests of a code, in order; SetAnswer's after them.
    static void SetAnswers(unsigned code, const std::vector<LONG>& results)
    {
        SetList(Name(FARLINE_ANSWERS_FORMAT, code), results);
    }
    // Makes the driver drop its device name after answering a request of a code, as if unloaded.
    static void SetUnlinkAfter(unsigned code, bool unlink) { SetDword(Name(FARLINE_UNLINK_AFTER_FORMAT, code), unlink); }
    // Makes every request of a code fail (DeviceIoControl returns FALSE), or succeed again.
    static void SetFailing(unsigned code, bool failing) { SetDword(Name(FARLINE_FAIL_FORMAT, code), failing); }
    // Makes the driver wait before it answers each request of a code.
    static void SetDelay(unsigned code, DWORD milliseconds) { SetDword(Name(FARLINE_DELAY_FORMAT, code), milliseconds); }

    static DWORD Count(unsigned code) { return GetDword(Name(FARLINE_COUNT_FORMAT, code)); }
    // Every request code in order of arrival: "2,1,1".
    static std::string Requests() { return GetString(FARLINE_VALUE_REQUESTS); }
    // What the driver found at each reconfigure request: "FFFF/DDDD" entries, comma-separated
    // (redirect flags of COM1 to COM4 in the configuration, then which ports have a port device).
    static std::string Reconfigurations() { return GetString(FARLINE_VALUE_RECONFIGURATIONS); }
    // Wine hands the driver opens and closes after the caller's CreateFile and CloseHandle have
    // returned: wait until every handle that was opened has been closed, or the count is reached.
    static void Settle()
    {
        for (int i = 0; i < 100 && Closes() != Opens(); ++i) Sleep(20);
    }
    static DWORD WaitForOpens(DWORD count)
    {
        for (int i = 0; i < 100 && Opens() < count; ++i) Sleep(20);
        return Opens();
    }
    static DWORD Opens() { return GetDword(FARLINE_VALUE_OPENS); }
    static DWORD Closes() { return GetDword(FARLINE_VALUE_CLOSES); }
    static DWORD OpenShare() { return GetDword(FARLINE_VALUE_OPEN_SHARE); }
    static DWORD OpenOptions() { return GetDword(FARLINE_VALUE_OPEN_OPTIONS); }
    static DWORD InputLength() { return GetDword(FARLINE_VALUE_INPUT_LENGTH); }
    static DWORD OutputLength() { return GetDword(FARLINE_VALUE_OUTPUT_LENGTH); }

    // Service state: SERVICE_RUNNING, SERVICE_STOPPED..., or 0 when the driver is not installed.
    static DWORD State()
    {
        Service service(SERVICE_QUERY_STATUS);
        SERVICE_STATUS status{};
        if (!service.handle || !QueryServiceStatus(service.handle, &status)) return 0;
        return status.dwCurrentState;
    }
    // Starts the driver when it is not running; true when it runs afterwards.
    static bool Start()
    {
        if (State() == SERVICE_RUNNING) return true;
        Service service(SERVICE_START | SERVICE_QUERY_STATUS);
        if (!service.handle) return false;
        StartServiceA(service.handle, 0, nullptr);
        return WaitFor(SERVICE_RUNNING);
    }
    // Stops the driver: \\.\FARLINE.VXD cannot be opened until Start.
    static bool Stop()
    {
        if (State() != SERVICE_RUNNING) return true;
        Service service(SERVICE_STOP | SERVICE_QUERY_STATUS);
        SERVICE_STATUS status{};
        if (!service.handle) return false;
        ControlService(service.handle, SERVICE_CONTROL_STOP, &status);
        return WaitFor(SERVICE_STOPPED);
    }

private:
    struct Service {
        explicit Service(DWORD access)
        {
            manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
            if (manager) handle = OpenServiceA(manager, FARLINE_SERVICE_NAME, access);
        }
        ~Service()
        {
            if (handle) CloseServiceHandle(handle);
            if (manager) CloseServiceHandle(manager);
        }
        SC_HANDLE manager = nullptr;
        SC_HANDLE handle = nullptr;
    };

    static bool WaitFor(DWORD state)
    {
        for (int i = 0; i < 100; ++i) {
            if (State() == state) return true;
            Sleep(50);
        }
        return false;
    }
    static std::string Name(const char* format, unsigned code)
    {
        char name[32];
        std::snprintf(name, sizeof name, format, code);
        return name;
    }
    static HKEY Open()
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, FARLINE_PARAMETERS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }
    static void SetList(const std::string& name, const std::vector<LONG>& list)
    {
        HKEY key = Open();
        RegSetValueExA(key, name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(list.data()),
                       static_cast<DWORD>(list.size() * sizeof(LONG)));
        RegCloseKey(key);
    }
    static void SetDword(const std::string& name, DWORD value)
    {
        HKEY key = Open();
        RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    static std::string GetString(const char* name)
    {
        char text[4096] = "";
        DWORD size = sizeof text - 1;
        RegGetValueA(HKEY_LOCAL_MACHINE, FARLINE_PARAMETERS_KEY, name, RRF_RT_REG_SZ, nullptr, text, &size);
        return text;
    }
    static DWORD GetDword(const std::string& name)
    {
        DWORD value = 0, size = sizeof value;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, FARLINE_PARAMETERS_KEY, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                         &size) != ERROR_SUCCESS)
            return 0;
        return value;
    }
};
