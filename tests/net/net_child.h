// A child process for the two-process tests, its standard output read line
// by line, and the "key=value" fields of its result lines.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/net_relay/udp_relay.h"

extern char** environ;

namespace nettest_support {

using Clock = std::chrono::steady_clock;

inline double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// A child process whose standard output is read line by line.
class Child {
public:
    // Runs program (a path) with args.
    Child(const std::string& program, std::vector<std::string> args) {
        args.insert(args.begin(), program);
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &fa, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        close(fds[1]);
        fd_ = fds[0];
    }
    ~Child() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) close(fd_);
    }
    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // The next line that starts with prefix, waiting up to seconds.
    std::string WaitLine(const std::string& prefix, double seconds) {
        const auto t0 = Clock::now();
        for (;;) {
            for (std::size_t nl; (nl = buf_.find('\n')) != std::string::npos;) {
                std::string line = buf_.substr(0, nl);
                buf_.erase(0, nl + 1);
                if (line.rfind(prefix, 0) == 0) return line;
                passed_ += line + "\n";
            }
            const double left = seconds - Since(t0);
            if (left <= 0 || fd_ < 0) return {};
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0) continue;
            char b[4096];
            const ssize_t n = read(fd_, b, sizeof b);
            if (n <= 0) {
                close(fd_);
                fd_ = -1;
                continue;
            }
            buf_.append(b, static_cast<std::size_t>(n));
        }
    }
    // The lines WaitLine passed over, for a failure's message.
    const std::string& passed() const { return passed_; }
    void Kill() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        exited_ = true;
    }
    int Wait(double seconds) {
        const auto t0 = Clock::now();
        while (Since(t0) < seconds) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    bool exited_ = false;
    std::string buf_;
    std::string passed_;
};

// "result ok a=1 b=2" as a map.
inline std::map<std::string, std::string> Fields(const std::string& line) {
    std::map<std::string, std::string> m;
    std::istringstream in(line);
    for (std::string w; in >> w;) {
        const auto eq = w.find('=');
        if (eq != std::string::npos) m[w.substr(0, eq)] = w.substr(eq + 1);
    }
    return m;
}

inline std::pair<int, int> Pairs(const std::string& v) {
    const auto slash = v.find('/');
    return {std::atoi(v.substr(0, slash).c_str()), std::atoi(v.substr(slash + 1).c_str())};
}

// The bad connection of the relay tests, running on a thread of its own
// towards targetPort: 80 ms of delay, 20 ms of jitter, 5 % loss.
class LossyRelay {
public:
    LossyRelay(std::uint16_t targetPort, double maxSeconds) {
        virexo::nettest::RelayOptions ro;
        ro.targetPort = targetPort;
        ro.delayMs = 80;
        ro.jitterMs = 20;
        ro.loss = 0.05;
        ro.seed = 17;
        ro.maxSeconds = maxSeconds;
        if (relay_.Open(ro, &why_)) thread_ = std::thread([this] { relay_.Run(stop_); });
    }
    ~LossyRelay() { Stop(); }
    LossyRelay(const LossyRelay&) = delete;
    LossyRelay& operator=(const LossyRelay&) = delete;

    bool open() const { return thread_.joinable() || stopped_; }
    const std::string& why() const { return why_; }
    std::uint16_t port() const { return relay_.port(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
            stopped_ = true;
        }
    }
    virexo::nettest::RelayStats stats() const { return relay_.stats(); }

private:
    virexo::nettest::UdpRelay relay_;
    std::string why_;
    std::atomic<bool> stop_{false};
    bool stopped_ = false;
    std::thread thread_;
};

}  // namespace nettest_support
