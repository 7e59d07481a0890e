#pragma once
// A loopback HTTP server for the agent's tests: every accepted connection gets its
// request read whole, recorded, and answered with byte-exact scripted pieces.
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "services/win/unique_handle.h"

namespace kestro {

struct ScriptedReply {
    std::vector<std::string> pieces;  // sent one by one, with a pause between them
    int pauseMs = 30;
    bool silent = false;  // accept, read, never answer, keep the connection open
};

class ScriptedServer {
public:
    using Handler = std::function<ScriptedReply(const std::string& request)>;
    // Port 0 picks a free port.
    explicit ScriptedServer(Handler handler, uint16_t port = 0);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    uint16_t Port() const { return port_; }
    bool Listening() const { return port_ != 0; }
    std::vector<std::string> Requests();

    // A reply of one piece: status line, headers, blank line, body.
    static ScriptedReply Whole(const std::string& wire);

private:
    void Run();
    void Serve(SOCKET client);

    Handler handler_;
    UniqueSocket listener_;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// Reads a complete request (header block and a Content-Length body), up to 5 s.
std::string ReadRequest(SOCKET s);

}  // namespace kestro
