#pragma once
// The local statistics server's socket loop: one thread per connection, one JSON
// log line per request, and a stop that ends every connection promptly.
#include <cstdio>
#include <string>

#include "stats_protocol.h"

namespace kestro::stats {

// How the server answers an acceptable request. kClose and kSilent send no reply
// at all: the first closes at once, the second holds the connection until the
// client or the server gives up.
enum class ReplyMode { kReply, kClose, kSilent };

struct ServerOptions {
    std::string bindAddress = "127.0.0.1";
    int port = 8080;  // 0: any free port
    std::string logPath;   // empty: standard output
    std::string portFile;  // where the bound port is written once listening
    int status = 200;      // status of replies to acceptable requests
    ReplyForm form = ReplyForm::kValid;
    ReplyMode mode = ReplyMode::kReply;
    int delayMs = 0;       // wait before answering
    int idleSeconds = 60;  // a connection that sends no complete head in this time is dropped
};

// Runs until a byte can be read from `stopFd`. Returns the process exit code.
int RunServer(const ServerOptions& options, int stopFd);

}  // namespace kestro::stats
