// Starts the native server simulator from a Windows program running under Wine, and stops it again.
// The launcher locks a lease file before it starts the simulator; the simulator ends as soon as the
// lock is gone, which happens when Stop() lets go of it or when the Windows process ends for any
// reason. The simulator reports "ready N", "error: ..." and "stopped" in the lease's status file.
#pragma once
#include <windows.h>
#include <chrono>
#include <string>

class SimulatorLauncher {
public:
    SimulatorLauncher() = default;
    ~SimulatorLauncher() { Stop(); }
    SimulatorLauncher(const SimulatorLauncher&) = delete;
    SimulatorLauncher& operator=(const SimulatorLauncher&) = delete;

    // program and configFile are Unix paths. Writes the configuration, starts the simulator and waits
    // until it listens on every address. false with a reason in Error() otherwise.
    bool Start(const std::string& program, const std::string& configFile, const std::string& configText)
    {
        Stop();
        m_lease = configFile + ".lease";
        if (!WriteUnixFile(configFile, configText)) return Fail("cannot write " + configFile);
        DeleteFileA(WindowsPath(Status()).c_str());
        m_leaseHandle = CreateFileA(WindowsPath(m_lease).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, 0,
                                    nullptr);
        if (m_leaseHandle == INVALID_HANDLE_VALUE) {
            m_leaseHandle = nullptr;
            return Fail("cannot make the lease " + m_lease);
        }
        OVERLAPPED whole = {};
        if (!LockFileEx(m_leaseHandle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole))
            return Fail("cannot lock the lease " + m_lease);

        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::string command =
            "\"" + WindowsPath(program) + "\" \"" + configFile + "\" --lease \"" + m_lease + "\" --quiet";
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
            return Fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);

        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < until) {
            std::string status = ReadStatus();
            if (status.rfind("ready ", 0) == 0) return true;
            if (!status.empty()) return Fail("simulator: " + status);
            Sleep(5);
        }
        return Fail("the simulator did not get ready in time");
    }

    // Lets go of the lease and waits (a few seconds at most) until the simulator has stopped, so that
    // its addresses are free again when this returns.
    void Stop()
    {
        if (!m_leaseHandle) return;
        CloseHandle(m_leaseHandle);
        m_leaseHandle = nullptr;
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            std::string status = ReadStatus();
            if (status.empty() || status == "stopped" || status.rfind("error", 0) == 0) break;
            Sleep(5);
        }
        DeleteFileA(WindowsPath(m_lease).c_str());
        DeleteFileA(WindowsPath(Status()).c_str());
    }

    const std::string& Error() const { return m_error; }

    // "Z:" and backslashes: how a Windows program names a Unix path under Wine.
    static std::string WindowsPath(const std::string& unixPath)
    {
        std::string p = "Z:" + unixPath;
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }

    static bool WriteUnixFile(const std::string& unixPath, const std::string& text)
    {
        HANDLE f = CreateFileA(WindowsPath(unixPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        BOOL ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(f);
        return ok && written == text.size();
    }

private:
    std::string Status() const { return m_lease + ".status"; }

    // The status line without its line end; empty while there is none.
    std::string ReadStatus() const
    {
        HANDLE f = CreateFileA(WindowsPath(Status()).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        if (f == INVALID_HANDLE_VALUE) return std::string();
        char text[512];
        DWORD got = 0;
        ReadFile(f, text, sizeof text - 1, &got, nullptr);
        CloseHandle(f);
        std::string line(text, got);
        size_t end = line.find('\n');
        return end == std::string::npos ? std::string() : line.substr(0, end);
    }

    bool Fail(const std::string& why)
    {
        m_error = why;
        Stop();
        return false;
    }

    HANDLE m_leaseHandle = nullptr;
    std::string m_lease;
    std::string m_error;
};
