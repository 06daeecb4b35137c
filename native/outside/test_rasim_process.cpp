// The simulator program: it answers on its loopback addresses, reports its state in the lease's status
// file, ends when the lease is let go, and refuses what it cannot serve.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include "wire/Wire.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// One simulator run: the configuration, the locked lease and the child process.
class SimRun {
public:
    explicit SimRun(const std::string& name, const std::string& config, bool holdLease = true)
        : m_config(std::string(SCRATCH_DIR) + "/" + name + ".conf"), m_lease(m_config + ".lease")
    {
        std::ofstream(m_config) << config;
        unlink((m_lease + ".status").c_str());
        m_leaseFd = open(m_lease.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        if (holdLease) {
            struct flock lock = {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            fcntl(m_leaseFd, F_SETLK, &lock);
        }
        m_pid = fork();
        if (m_pid == 0) {
            // The child must not inherit the lock holder's descriptor role: locks are per process anyway.
            execl(RASIM, RASIM, m_config.c_str(), "--lease", m_lease.c_str(), "--quiet", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~SimRun()
    {
        Release();
        Wait();
    }
    // The status line once there is one (or empty after a few seconds).
    std::string Status()
    {
        for (int i = 0; i < 500; ++i) {
            std::string s = ReadFile(m_lease + ".status");
            if (!s.empty() && s.back() == '\n') return s.substr(0, s.size() - 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "";
    }
    void Release()
    {
        if (m_leaseFd >= 0) close(m_leaseFd);
        m_leaseFd = -1;
    }
    // The exit status, or -1 when the program did not end within a few seconds.
    int Wait()
    {
        if (m_pid <= 0) return m_exit;
        for (int i = 0; i < 500; ++i) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return m_exit;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = 0;
        return -1;
    }
    std::string StatusNow() { return ReadFile(m_lease + ".status"); }

private:
    std::string m_config, m_lease;
    int m_leaseFd = -1;
    pid_t m_pid = 0;
    int m_exit = -1;
};

// Sends one search to address:1549 and returns the decoded answer's name, or "" when none came.
std::string SearchName(const char* address)
{
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    timeval wait = {1, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    wire::Request r;
    r.kind = wire::kSearch;
    r.id = 99;
    uint8_t b[wire::kMaxDatagram];
    size_t n = wire::EncodeRequest(r, b, sizeof b);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(1549);
    inet_pton(AF_INET, address, &to.sin_addr);
    sendto(fd, b, n, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ssize_t got = recv(fd, b, sizeof b, 0);
    close(fd);
    wire::Answer a;
    if (got <= 0 || !wire::DecodeAnswer(b, static_cast<size_t>(got), a) || a.id != 99) return "";
    return a.description.name;
}

TEST(RasimProcess, ServesUntilTheLeaseIsLetGo)
{
    SimRun run("serves", "[server]\naddress = 127.61.7.1\nname = ONE\n[server]\naddress = 127.61.7.2\nname = TWO\n");
    ASSERT_EQ(run.Status(), "ready 2");
    EXPECT_EQ(SearchName("127.61.7.1"), "ONE");
    EXPECT_EQ(SearchName("127.61.7.2"), "TWO");
    run.Release();
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_EQ(run.StatusNow(), "stopped\n");
    EXPECT_EQ(SearchName("127.61.7.1"), "") << "the address is free again";
}

TEST(RasimProcess, RefusesToServeWhatItCannot)
{
    {
        SimRun first("first", "[server]\naddress = 127.61.8.1\nname = FIRST\n");
        ASSERT_EQ(first.Status(), "ready 1");
        SimRun second("second", "[server]\naddress = 127.61.8.1\nname = SECOND\n");
        EXPECT_EQ(second.Status().rfind("error: cannot listen on 127.61.8.1:1549", 0), 0u) << second.StatusNow();
        EXPECT_EQ(second.Wait(), 2);
    }
    SimRun bad("bad", "[server]\naddress = 10.0.0.1\nname = X\n");
    EXPECT_EQ(bad.Status(), "error: line 2: address outside 127.0.0.0/8");
    EXPECT_EQ(bad.Wait(), 1);
    SimRun unheld("unheld", "[server]\naddress = 127.61.9.1\nname = X\n", false);
    EXPECT_EQ(unheld.Status(), "error: nobody holds the lease");
    EXPECT_EQ(unheld.Wait(), 1);
}

}  // namespace
