#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>

#include "services/json/jvalue.h"
#include "stats_server_process.h"

namespace kestro::testing {
namespace {

using Clock = std::chrono::steady_clock;

const char kSetTarget[] = "/clt_v2_set?machid=0123456789ABCDEF0123456789ABCDEF&plat=30&op=1&v=0&l=1&c=30001&md5=";

struct Exchange {
    bool connected = false;
    std::string reply;  // everything received until the server closed or `waitMs` passed
    bool closedByServer = false;
};

// Sends `request` and collects what comes back within `waitMs`.
Exchange Talk(int port, const std::string& request, int waitMs = 5000) {
    Exchange x;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return x;
    }
    x.connected = true;
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size())) {
        close(fd);
        return x;
    }
    auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, int(left)) <= 0) break;
        char buf[4096];
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0) {
            x.closedByServer = true;
            break;
        }
        x.reply.append(buf, size_t(n));
    }
    close(fd);
    return x;
}

std::string Get(const std::string& target) {
    return "GET " + target + " HTTP/1.1\r\nAccept: */*\r\nHost: 127.0.0.1\r\nUser-Agent: CHttpAgent\r\n\r\n";
}

std::string Body(const std::string& reply) {
    size_t end = reply.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

JValue LastRecord(const StatsServerProcess& server) {
    auto lines = server.LogLines();
    JValue v;
    if (!lines.empty()) JValue::Parse(lines.back(), v);
    return v;
}

TEST(StatsServer, AnswersAReportWithTheLengthPrefixedZlibJsonAndLogsItFirst) {
    StatsServerProcess server;
    ASSERT_GT(server.port(), 0);
    Exchange x = Talk(server.port(), Get(kSetTarget));
    ASSERT_TRUE(x.connected);
    EXPECT_EQ(x.reply.substr(0, 15), "HTTP/1.1 200 OK");
    std::string body = Body(x.reply);
    ASSERT_GT(body.size(), 4u);
    uint32_t length = uint32_t(uint8_t(body[0])) << 24 | uint32_t(uint8_t(body[1])) << 16 |
                      uint32_t(uint8_t(body[2])) << 8 | uint8_t(body[3]);
    std::string json(length, '\0');
    uLongf outLen = length;
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&json[0]), &outLen, reinterpret_cast<const Bytef*>(body.data() + 4),
                         uLong(body.size() - 4)),
              Z_OK);
    JValue parsed;
    EXPECT_TRUE(JValue::Parse(json, parsed));

    JValue record = LastRecord(server);
    EXPECT_EQ(record["target"].AsText(), kSetTarget);
    EXPECT_EQ(record["c"].AsInt(), 30001);
    EXPECT_EQ(record["host"].AsText(), "127.0.0.1");
    EXPECT_EQ(record["user_agent"].AsText(), "CHttpAgent");
    EXPECT_EQ(record["status"].AsInt(), 200);
    EXPECT_EQ(server.Stop(), 0);
}

TEST(StatsServer, MalformedRequestsGet400AreLoggedAndTheServerKeepsServing) {
    StatsServerProcess server;
    ASSERT_GT(server.port(), 0);
    EXPECT_EQ(Talk(server.port(), "garbage\r\n\r\n").reply.substr(0, 12), "HTTP/1.1 400");
    EXPECT_EQ(Talk(server.port(), Get("/clt_v2_set?machid=zz")).reply.substr(0, 12), "HTTP/1.1 400");
    EXPECT_EQ(Talk(server.port(), "POST / HTTP/1.1\r\n\r\n").reply.substr(0, 12), "HTTP/1.1 405");
    EXPECT_EQ(Talk(server.port(), Get("/elsewhere")).reply.substr(0, 12), "HTTP/1.1 404");
    // A client that sends half a head and leaves is logged, not fatal.
    Talk(server.port(), "GET /clt_v2", 200);
    EXPECT_EQ(Talk(server.port(), Get(kSetTarget)).reply.substr(0, 12), "HTTP/1.1 200");
    auto lines = server.LogLines();
    ASSERT_EQ(lines.size(), 6u);
    JValue first;
    ASSERT_TRUE(JValue::Parse(lines[0], first));
    EXPECT_EQ(first["status"].AsInt(), 400);
    EXPECT_FALSE(first["error"].AsText().empty());
    EXPECT_EQ(server.Stop(), 0);
}

TEST(StatsServer, FailureModesShapeTheReplyOfAcceptableRequestsOnly) {
    {
        StatsServerProcess server({"--status", "503"});
        EXPECT_EQ(Talk(server.port(), Get(kSetTarget)).reply.substr(0, 12), "HTTP/1.1 503");
        EXPECT_EQ(Talk(server.port(), Get("/clt_v2_set")).reply.substr(0, 12), "HTTP/1.1 400");
        EXPECT_EQ(LastRecord(server)["status"].AsInt(), 400);
    }
    {
        StatsServerProcess server({"--zero-length"});
        std::string body = Body(Talk(server.port(), Get(kSetTarget)).reply);
        ASSERT_GT(body.size(), 4u);
        EXPECT_EQ(body.substr(0, 4), std::string(4, '\0'));
    }
    {
        StatsServerProcess server({"--empty"});
        Exchange x = Talk(server.port(), Get(kSetTarget));
        EXPECT_NE(x.reply.find("Content-Length: 0\r\n"), std::string::npos);
        EXPECT_EQ(Body(x.reply), "");
    }
    {
        StatsServerProcess server({"--close"});
        Exchange x = Talk(server.port(), Get(kSetTarget));
        EXPECT_TRUE(x.closedByServer);
        EXPECT_EQ(x.reply, "");
        EXPECT_EQ(LastRecord(server)["c"].AsInt(), 30001);  // still logged
    }
}

TEST(StatsServer, DelayHoldsTheReplyBack) {
    StatsServerProcess server({"--delay-ms", "400"});
    auto start = Clock::now();
    Exchange x = Talk(server.port(), Get(kSetTarget));
    auto took = Clock::now() - start;
    EXPECT_EQ(x.reply.substr(0, 12), "HTTP/1.1 200");
    EXPECT_GE(took, std::chrono::milliseconds(390));
}

TEST(StatsServer, SilentModeHoldsConnectionsYetStopsPromptlyOnSigterm) {
    StatsServerProcess server({"--silent"});
    ASSERT_GT(server.port(), 0);
    Exchange x = Talk(server.port(), Get(kSetTarget), 300);
    EXPECT_FALSE(x.closedByServer);
    EXPECT_EQ(x.reply, "");

    // A held connection must not keep the server from stopping.
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(server.port()));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    std::string request = Get(kSetTarget);
    ASSERT_EQ(send(fd, request.data(), request.size(), MSG_NOSIGNAL), ssize_t(request.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto start = Clock::now();
    EXPECT_EQ(server.Stop(std::chrono::seconds(3)), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    close(fd);
}

TEST(StatsServer, RefusesABusyPortAndBadOptions) {
    StatsServerProcess first;
    ASSERT_GT(first.port(), 0);
    StatsServerProcess second({"--port", std::to_string(first.port())});
    EXPECT_EQ(second.port(), 0);  // later --port wins; it cannot bind and exits
    StatsServerProcess third({"--status", "abc"});
    EXPECT_EQ(third.port(), 0);
}

}  // namespace
}  // namespace kestro::testing
