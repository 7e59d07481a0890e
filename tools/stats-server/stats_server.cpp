#include "stats_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <list>
#include <mutex>
#include <thread>

#include "services/win/unique_handle.h"

namespace kestro::stats {
namespace {

// Longer heads are refused: the client's requests are a few hundred bytes.
constexpr size_t kMaxHead = 65536;

const char kReplyJson[] = "{\"code\":0,\"msg\":\"ok\"}";

class LogWriter {
public:
    explicit LogWriter(FILE* file) : file_(file) {}
    void Write(const JValue& record) {
        std::string line = record.WriteCompact();
        std::lock_guard<std::mutex> lock(mutex_);
        fwrite(line.data(), 1, line.size(), file_);
        fflush(file_);
    }

private:
    FILE* file_;
    std::mutex mutex_;
};

// Waits for `fd` to be readable; false on stop, time-out or error.
bool WaitReadable(int fd, int stopFd, int timeoutMs) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        int n = poll(fds, 2, left < 0 ? 0 : int(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || fds[1].revents) return false;
        return fds[0].revents != 0;
    }
}

// Sleeps up to `ms`; false when the server is stopping.
bool Pause(int stopFd, int ms) {
    pollfd fd = {stopFd, POLLIN, 0};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count());
        if (left <= 0) return true;
        int n = poll(&fd, 1, left);
        if (n < 0 && errno == EINTR) continue;
        if (n > 0) return false;
    }
}

void SendAll(int fd, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        sent += size_t(n);
    }
}

void Serve(int fd, const ServerOptions& options, int stopFd, LogWriter& log, const std::string& peer) {
    std::string buffer;
    size_t headEnd = std::string::npos;
    while (headEnd == std::string::npos && buffer.size() <= kMaxHead) {
        if (!WaitReadable(fd, stopFd, options.idleSeconds * 1000)) return;
        char piece[4096];
        ssize_t n = recv(fd, piece, sizeof piece, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        buffer.append(piece, size_t(n));
        headEnd = buffer.find("\r\n\r\n");
    }
    JValue record;
    int status = 400;
    RequestHead head;
    if (headEnd == std::string::npos) {
        if (buffer.empty()) return;  // a connection that never spoke is not a request
        record = JValue::Object();
        record.Set("error", buffer.size() > kMaxHead ? "request head too long" : "incomplete request head");
    } else if (!ParseRequestHead(buffer.substr(0, headEnd + 4), head)) {
        record = JValue::Object();
        record.Set("error", "malformed request head");
        record.Set("request_line", buffer.substr(0, std::min(buffer.find("\r\n"), size_t(512))));
    } else if (head.method != "GET") {
        record = JValue::Object();
        record.Set("error", "method " + head.method + " is not GET");
        record.Set("target", head.target);
        status = 405;
    } else {
        TargetVerdict verdict = JudgeTarget(head.target);
        record = verdict.record;
        status = verdict.status;
        record.Set("host", head.headers["host"]);
        record.Set("user_agent", head.headers["user-agent"]);
        record.Set("accept", head.headers["accept"]);
    }
    record.Set("peer", peer);
    bool acceptable = status == 200;
    if (acceptable && options.status != 200) status = options.status;
    record.Set("status", status);
    log.Write(record);

    if (acceptable && options.delayMs > 0 && !Pause(stopFd, options.delayMs)) return;
    if (acceptable && options.mode == ReplyMode::kClose) return;
    if (acceptable && options.mode == ReplyMode::kSilent) {
        // Hold the connection: end only when the client closes or the server stops.
        char sink[256];
        while (WaitReadable(fd, stopFd, 3600 * 1000) && recv(fd, sink, sizeof sink, 0) > 0) {
        }
        return;
    }
    std::string body = status == 200 ? EncodeReplyBody(kReplyJson, options.form) : std::string();
    SendAll(fd, BuildHttpResponse(status, body));
    shutdown(fd, SHUT_WR);
    // Let the client read everything before the close resets the connection.
    char sink[256];
    while (WaitReadable(fd, stopFd, 2000) && recv(fd, sink, sizeof sink, 0) > 0) {
    }
}

struct Connection {
    std::thread thread;
    std::atomic<bool> done{false};
};

}  // namespace

int RunServer(const ServerOptions& options, int stopFd) {
    UniqueStdioFile logFile;
    if (!options.logPath.empty()) {
        logFile.reset(fopen(options.logPath.c_str(), "a"));
        if (!logFile) {
            fprintf(stderr, "stats-server: cannot open log %s: %s\n", options.logPath.c_str(), strerror(errno));
            return 1;
        }
    }
    LogWriter log(logFile ? logFile.get() : stdout);

    UniqueFd listening(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!listening) return perror("stats-server: socket"), 1;
    const int listener = listening.get();
    int one = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(options.port));
    if (inet_pton(AF_INET, options.bindAddress.c_str(), &addr.sin_addr) != 1) {
        fprintf(stderr, "stats-server: bad address %s\n", options.bindAddress.c_str());
        return 2;
    }
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 64) != 0) {
        fprintf(stderr, "stats-server: cannot listen on %s:%d: %s\n", options.bindAddress.c_str(), options.port, strerror(errno));
        return 1;
    }
    socklen_t len = sizeof addr;
    getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    int port = ntohs(addr.sin_port);
    if (!options.portFile.empty()) {
        // Written whole under a temporary name, so a reader never sees half a number.
        std::string temp = options.portFile + ".tmp";
        UniqueStdioFile f(fopen(temp.c_str(), "w"));
        if (!f || fprintf(f.get(), "%d\n", port) < 0 || !CloseChecked(f) ||
            rename(temp.c_str(), options.portFile.c_str()) != 0) {
            fprintf(stderr, "stats-server: cannot write %s\n", options.portFile.c_str());
            return 1;
        }
    }
    fprintf(stderr, "stats-server: listening on %s:%d\n", options.bindAddress.c_str(), port);

    std::list<Connection> connections;
    for (;;) {
        pollfd fds[2] = {{listener, POLLIN, 0}, {stopFd, POLLIN, 0}};
        int n = poll(fds, 2, -1);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || fds[1].revents) break;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        int fd = accept4(listener, reinterpret_cast<sockaddr*>(&from), &fromLen, SOCK_CLOEXEC);
        if (fd < 0) continue;
        char ip[INET_ADDRSTRLEN] = "";
        inet_ntop(AF_INET, &from.sin_addr, ip, sizeof ip);
        std::string peer = std::string(ip) + ":" + std::to_string(ntohs(from.sin_port));
        for (auto it = connections.begin(); it != connections.end();) {
            if (it->done) {
                it->thread.join();
                it = connections.erase(it);
            } else {
                ++it;
            }
        }
        connections.emplace_back();
        Connection& c = connections.back();
        c.thread = std::thread([fd, &options, stopFd, &log, peer, &c] {
            UniqueFd connection(fd);
            Serve(fd, options, stopFd, log, peer);
            connection.reset();
            c.done = true;
        });
    }
    listening.reset();
    for (auto& c : connections) c.thread.join();
    fprintf(stderr, "stats-server: stopped\n");
    return 0;
}

}  // namespace kestro::stats
