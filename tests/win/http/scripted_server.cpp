#include "tests/win/http/scripted_server.h"

#include <ws2tcpip.h>

#include <cstdlib>

namespace kestro {

namespace {

bool Readable(SOCKET s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &limit) > 0;
}

}  // namespace

std::string ReadRequest(SOCKET s) {
    std::string request;
    char buffer[4096];
    for (int waited = 0; waited < 5000;) {
        size_t end = request.find("\r\n\r\n");
        if (end != std::string::npos) {
            size_t at = request.find("Content-Length: ");
            size_t length = at == std::string::npos || at > end ? 0 : std::strtoul(request.c_str() + at + 16, nullptr, 10);
            if (request.size() >= end + 4 + length) break;
        }
        if (!Readable(s, 100)) {
            waited += 100;
            continue;
        }
        int n = recv(s, buffer, sizeof(buffer), 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<size_t>(n));
    }
    return request;
}

ScriptedServer::ScriptedServer(Handler handler, uint16_t port) : handler_(std::move(handler)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        listen(listener_.get(), 16) == 0) {
        int length = sizeof(address);
        getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    thread_ = std::thread([this] { Run(); });
}

ScriptedServer::~ScriptedServer() {
    stop_ = true;
    thread_.join();
    listener_.reset();
    WSACleanup();
}

std::vector<std::string> ScriptedServer::Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

ScriptedReply ScriptedServer::Whole(const std::string& wire) {
    ScriptedReply reply;
    reply.pieces.push_back(wire);
    return reply;
}

void ScriptedServer::Run() {
    while (!stop_) {
        if (!Readable(listener_.get(), 50)) continue;
        UniqueSocket client(accept(listener_.get(), nullptr, nullptr));
        if (!client) continue;
        Serve(client.get());
    }
}

void ScriptedServer::Serve(SOCKET client) {
    std::string request = ReadRequest(client);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    ScriptedReply reply = handler_(request);
    if (reply.silent) {
        char sink[256];
        while (!stop_) {
            if (Readable(client, 50) && recv(client, sink, sizeof(sink), 0) <= 0) break;
        }
        return;
    }
    for (size_t i = 0; i < reply.pieces.size(); ++i) {
        if (i > 0 && reply.pauseMs > 0) Sleep(static_cast<DWORD>(reply.pauseMs));
        const std::string& piece = reply.pieces[i];
        size_t sent = 0;
        while (sent < piece.size()) {
            int n = send(client, piece.data() + sent, static_cast<int>(piece.size() - sent), 0);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }
    shutdown(client, SD_SEND);
    // Let the peer read everything before the socket goes away.
    char sink[256];
    for (int i = 0; i < 40 && !stop_; ++i) {
        if (Readable(client, 50) && recv(client, sink, sizeof(sink), 0) <= 0) break;
    }
}

}  // namespace kestro
