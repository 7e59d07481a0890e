// stats-server: the local statistics server for development, tests and the demo.
// Answers the installer's statistics and feedback requests, logs each as one JSON
// line, and can misbehave on purpose so tests see the client's failure handling.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "stats_server.h"

namespace {

int g_stopWrite = -1;

void OnStopSignal(int) {
    char b = 1;
    // Nothing else is safe in a handler; the pipe wakes every waiting thread.
    ssize_t ignored = write(g_stopWrite, &b, 1);
    (void)ignored;
}

const char kUsage[] =
    "usage: stats-server [options]\n"
    "  --port N          port to listen on (default 8080; 0 picks a free one)\n"
    "  --bind ADDR       IPv4 address to listen on (default 127.0.0.1)\n"
    "  --log FILE        append one JSON line per request to FILE (default: standard output)\n"
    "  --port-file FILE  write the bound port to FILE once listening\n"
    "failure modes for tests (acceptable requests only; malformed ones always get 400):\n"
    "  --status N        reply with status N and an empty body\n"
    "  --zero-length     reply body whose length field is 0\n"
    "  --not-zlib        reply body whose data after the length is not a zlib stream\n"
    "  --empty           reply 200 with an empty body\n"
    "  --delay-ms N      wait N milliseconds before answering\n"
    "  --close           close the connection without a reply\n"
    "  --silent          keep the connection open without a reply\n"
    "Stops cleanly on SIGTERM or SIGINT.\n";

bool ParseInt(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    long n = strtol(text, &end, 10);
    if (!*text || *end || n < low || n > high) return false;
    out = int(n);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    kestro::stats::ServerOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        if (arg == "--port" && value) ok = ParseInt(value, 0, 65535, options.port), ++i;
        else if (arg == "--bind" && value) options.bindAddress = value, ++i;
        else if (arg == "--log" && value) options.logPath = value, ++i;
        else if (arg == "--port-file" && value) options.portFile = value, ++i;
        else if (arg == "--status" && value) ok = ParseInt(value, 100, 599, options.status), ++i;
        else if (arg == "--delay-ms" && value) ok = ParseInt(value, 0, 3600000, options.delayMs), ++i;
        else if (arg == "--zero-length") options.form = kestro::stats::ReplyForm::kZeroLength;
        else if (arg == "--not-zlib") options.form = kestro::stats::ReplyForm::kNotZlib;
        else if (arg == "--empty") options.form = kestro::stats::ReplyForm::kEmpty;
        else if (arg == "--close") options.mode = kestro::stats::ReplyMode::kClose;
        else if (arg == "--silent") options.mode = kestro::stats::ReplyMode::kSilent;
        else if (arg == "--help" || arg == "-h") return fputs(kUsage, stdout), 0;
        else ok = false;
        if (!ok) {
            fprintf(stderr, "stats-server: bad option %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }

    int stopPipe[2];
    if (pipe2(stopPipe, O_CLOEXEC) != 0) return perror("stats-server: pipe"), 1;
    g_stopWrite = stopPipe[1];
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    return kestro::stats::RunServer(options, stopPipe[0]);
}
