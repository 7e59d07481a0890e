#pragma once
// Starts the real stats-server program on a free loopback port for one test and
// stops it with SIGTERM, reporting how it ended.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace kestro::testing {

class StatsServerProcess {
public:
    explicit StatsServerProcess(std::vector<std::string> extraArgs = {}) {
        char dirTemplate[] = "/tmp/kestro-stats-XXXXXX";
        dir_ = mkdtemp(dirTemplate) ? dirTemplate : "";
        if (dir_.empty()) return;
        std::string portFile = dir_ + "/port";
        std::vector<std::string> args = {KESTRO_STATS_SERVER_PATH, "--port", "0", "--port-file", portFile, "--log", LogPath()};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(&a[0]);
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream f(portFile);
            if (f >> port_) return;
            int status;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    ~StatsServerProcess() {
        Stop();
        if (!dir_.empty()) {
            std::string cmd = "rm -rf '" + dir_ + "'";
            if (system(cmd.c_str()) != 0) {
            }
        }
    }

    int port() const { return port_; }
    std::string LogPath() const { return dir_ + "/requests.log"; }

    std::vector<std::string> LogLines() const {
        std::ifstream f(LogPath());
        std::vector<std::string> lines;
        for (std::string line; std::getline(f, line);) lines.push_back(line);
        return lines;
    }

    // SIGTERM, then waits up to `limit`; the exit code, or -1 when it had to be killed.
    int Stop(std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        if (pid_ <= 0) return exitCode_;
        kill(pid_, SIGTERM);
        auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                pid_ = -1;
                return exitCode_ = -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
        return exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    std::string dir_;
    pid_t pid_ = -1;
    int port_ = 0;
    int exitCode_ = -1;
};

}  // namespace kestro::testing
