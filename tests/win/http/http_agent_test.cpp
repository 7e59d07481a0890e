#include "services/http/http_agent.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "tests/win/http/proxy_settings_scope.h"
#include "tests/win/http/scripted_server.h"
#include "tests/win/support/test_files.h"

namespace kestro {
namespace {

const char kOk[] = "HTTP/1.1 200 OK\r\n";

// Every agent test talks to loopback directly, whatever the prefix's settings say.
class HttpAgentTest : public ::testing::Test {
protected:
    ProxySettingsScope direct_{ProxySettingsScope::kDirect};
};

TEST_F(HttpAgentTest, GetSendsSortedStandardHeadersAndReadsTheBody) {
    ScriptedServer server([](const std::string&) {
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 5\r\n\r\nhello");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    HttpExtraHeaders extra{{L"host", L"lower"}, {L"X-Extra", L"1"}};
    std::string out = "stale";
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/a?b=c", out, &extra), 1);
    EXPECT_EQ(out, "hello");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET /a?b=c HTTP/1.1\r\nAccept: */*\r\nHost: 127.0.0.1\r\nUser-Agent: CHttpAgent\r\nX-Extra: 1\r\n"
              "host: lower\r\n\r\n");
}

TEST_F(HttpAgentTest, PostSendsContentLengthAndBodyAndReadsTheReply) {
    ScriptedServer server([](const std::string&) {
        ScriptedReply reply;
        reply.pieces = {std::string(kOk) + "Content-Length: 6\r\n\r\nre", "ply"};
        reply.pieces.push_back("!");
        return reply;
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Post(L"127.0.0.1", server.Port(), L"/p", "k=v&x", out, nullptr), 1);
    EXPECT_EQ(out, "reply!");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "POST /p HTTP/1.1\r\nAccept: */*\r\nContent-Length: 5\r\nHost: 127.0.0.1\r\nUser-Agent: CHttpAgent\r\n"
              "\r\nk=v&x");
}

TEST_F(HttpAgentTest, ChunkedBodiesDecodeWhateverTheDeliverySplit) {
    ScriptedServer server([](const std::string& request) {
        ScriptedReply reply;
        std::string head = std::string(kOk) + "Transfer-Encoding: Chunked\r\n\r\n";
        if (request.find("/bytes") != std::string::npos) {
            std::string wire = head + "4\r\nWiki\r\n5\r\npedia\r\n0\r\n\r\n";
            for (char c : wire) reply.pieces.push_back(std::string(1, c));
            reply.pauseMs = 1;
        } else if (request.find("/ext") != std::string::npos) {
            reply.pieces = {head + "1a;ext\r\nabcdefghijklm", "nopqrstuvwxyz\r\n0\r\n\r\n"};
        } else {
            reply.pieces = {head + "4\r\nWi", "ki\r\n5\r\npedia\r", "\n0\r\n\r\n"};
        }
        return reply;
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/pieces", out, nullptr), 1);
    EXPECT_EQ(out, "Wikipedia");
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/bytes", out, nullptr), 1);
    EXPECT_EQ(out, "Wikipedia");
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/ext", out, nullptr), 1);
    EXPECT_EQ(out, "abcdefghijklmnopqrstuvwxyz");
}

TEST_F(HttpAgentTest, StatusLineWithoutReasonIs404AndEmptyBodyStillSucceeds) {
    ScriptedServer server([](const std::string& request) {
        if (request.find("/noreason") != std::string::npos) {
            return ScriptedServer::Whole("HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok");
        }
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 0\r\n\r\n");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out = "x";
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/noreason", out, nullptr), 0);
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/empty", out, nullptr), 1);
    EXPECT_EQ(out, "");

    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/noreason", "HTTP/1.1"), 1);
    ASSERT_EQ(agent.SendRequest(), 1);
    EXPECT_EQ(agent.GetStatusCode(), 404);
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/empty", "HTTP/1.1"), 1);
    ASSERT_EQ(agent.SendRequest(), 1);
    EXPECT_EQ(agent.GetStatusCode(), 200);
    EXPECT_EQ(agent.ReadBody(out), 0);
    EXPECT_EQ(out, "");
}

TEST_F(HttpAgentTest, LowLevelReadsDeliverBytesThatCameWithTheHeadersFirst) {
    ScriptedServer server([](const std::string&) {
        ScriptedReply reply;
        reply.pieces = {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nCONTENT-length: 8\r\nX-Name:  v a l \r\n\r\nabc",
                        "defgh"};
        return reply;
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/low", "HTTP/1.1"), 1);
    EXPECT_EQ(agent.AddHeaderFormat("X-Count", "%d-%s", 7, "seven"), 1);
    EXPECT_EQ(agent.AddHeaderFormat("", "%d", 1), 0);
    EXPECT_EQ(agent.AddHeaderFormat(L"X-Wide", nullptr), 0);
    ASSERT_EQ(agent.SendRequest(), 1);
    EXPECT_EQ(agent.GetStatusCode(), 100);
    ASSERT_EQ(agent.ReceiveNextResponseHeaders(), 1);
    EXPECT_EQ(agent.GetStatusCode(), 200);
    EXPECT_EQ(agent.GetContentLength(), 8);
    EXPECT_EQ(agent.GetHeader("x-NAME"), "v a l");
    std::wstring wide;
    EXPECT_EQ(agent.GetHeader(wide, L"X-Name"), L"v a l");
    std::string raw;
    EXPECT_EQ(agent.GetRawResponseHeaders(raw), 1);
    EXPECT_EQ(raw, "HTTP/1.1 200 OK\r\nCONTENT-length: 8\r\nX-Name:  v a l \r\n\r\n");
    char buffer[2];
    EXPECT_EQ(agent.Read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    EXPECT_EQ(agent.Read(nullptr, 2), -1);
    std::string body;
    EXPECT_EQ(agent.ReadSome(body), 1);
    EXPECT_EQ(body, "c");
    EXPECT_EQ(agent.ReadSome(body), 1);
    EXPECT_EQ(body, "defgh");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(server.Requests()[0].find("X-Count: 7-seven\r\n"), std::string::npos);
}

TEST_F(HttpAgentTest, TheReceiveSizeBoundsEveryReceive) {
    std::string body;
    for (int i = 0; i < 10000; ++i) body += static_cast<char>('a' + i % 26);
    ScriptedServer server([&body](const std::string&) {
        ScriptedReply reply;
        reply.pieces = {std::string(kOk) + "Content-Length: 10000\r\n\r\n", body};
        return reply;
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/sizes", "HTTP/1.1"), 1);
    ASSERT_EQ(agent.SendRequest(), 1);
    // The whole body is waiting before each read, so only the receive size can cut it.
    Sleep(300);
    std::string piece, got;
    ASSERT_EQ(agent.ReadSome(piece), 1);
    EXPECT_EQ(piece.size(), 4096u);
    got += piece;
    ASSERT_EQ(agent.SetReceiveBufferSize(3), 1);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(agent.ReadSome(piece), 1);
        EXPECT_EQ(piece.size(), 3u);
        got += piece;
    }
    ASSERT_EQ(agent.SetReceiveBufferSize(2097152), 1);
    ASSERT_EQ(agent.ReadSome(piece), 1);
    got += piece;
    EXPECT_EQ(got, body);
}

TEST_F(HttpAgentTest, ReadBodyExactKeepsTheExcessForTheNextRead) {
    ScriptedServer server([](const std::string&) {
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 3\r\n\r\nabcNEXT");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/x", "HTTP/1.1"), 1);
    ASSERT_EQ(agent.SendRequest(), 1);
    std::string out;
    EXPECT_EQ(agent.ReadBodyExact(out), 3);
    EXPECT_EQ(out, "abc");
    char rest[8];
    EXPECT_EQ(agent.Read(rest, 8), 4);
    EXPECT_EQ(std::string(rest, 4), "NEXT");
}

TEST_F(HttpAgentTest, RedirectsAcrossHostsPortsAndSchemesAreFollowed) {
    ScriptedServer target([](const std::string&) {
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 4\r\n\r\ndone");
    });
    uint16_t targetPort = target.Port();
    ScriptedServer first([targetPort](const std::string& request) {
        if (request.find("/path-only") != std::string::npos) {
            return ScriptedServer::Whole("HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n\r\n");
        }
        return ScriptedServer::Whole("HTTP/1.1 301 Moved\r\nLocation: http://u:p@localhost:" +
                                     std::to_string(targetPort) + "/b?q=1#f\r\n\r\n");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", first.Port(), L"/a", out, nullptr), 1);
    EXPECT_EQ(out, "done");
    ASSERT_EQ(target.Requests().size(), 1u);
    EXPECT_EQ(target.Requests()[0].substr(0, 35), "GET /b?q=1#f HTTP/1.1\r\nAccept: */*\r");
    EXPECT_NE(target.Requests()[0].find("\r\nHost: localhost\r\n"), std::string::npos);

    EXPECT_EQ(agent.Get(L"127.0.0.1", first.Port(), L"/path-only", out, nullptr), 0);
    EXPECT_EQ(out, "");
}

TEST_F(HttpAgentTest, RedirectToHttpsWithoutPortIsPlainHttpToPort443) {
    // Loopback port 443 can be bound by root only (unless the system lowers its limit).
    ScriptedServer secure([](const std::string&) {
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 5\r\n\r\nplain");
    }, 443);
    if (!secure.Listening()) GTEST_SKIP() << "loopback port 443 cannot be bound by this user, or is taken";
    ScriptedServer first([](const std::string&) {
        return ScriptedServer::Whole("HTTP/1.1 302 Found\r\nLocation: https://127.0.0.1/s\r\n\r\n");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", first.Port(), L"/a", out, nullptr), 1);
    EXPECT_EQ(out, "plain");
    ASSERT_EQ(secure.Requests().size(), 1u);
    EXPECT_EQ(secure.Requests()[0].substr(0, 17), "GET /s HTTP/1.1\r\n");
}

TEST_F(HttpAgentTest, RedirectedPostPostsTheSameBodyAgain) {
    ScriptedServer target([](const std::string&) {
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 2\r\n\r\nok");
    });
    uint16_t targetPort = target.Port();
    ScriptedServer first([targetPort](const std::string&) {
        return ScriptedServer::Whole("HTTP/1.1 303 See Other\r\nLocation: http://127.0.0.1:" +
                                     std::to_string(targetPort) + "/again\r\n\r\n");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Post(L"127.0.0.1", first.Port(), L"/p", "body", out, nullptr), 1);
    EXPECT_EQ(out, "ok");
    ASSERT_EQ(target.Requests().size(), 1u);
    EXPECT_EQ(target.Requests()[0].substr(0, 20), "POST /again HTTP/1.1");
    EXPECT_EQ(target.Requests()[0].substr(target.Requests()[0].size() - 8), "\r\n\r\nbody");
}

TEST_F(HttpAgentTest, FiveRedirectsAreFollowedASixthFails) {
    // /r5 redirects to /r4 ... /r1 to /r0, which answers.
    ScriptedServer* self = nullptr;
    ScriptedServer chain([&self](const std::string& request) {
        int n = request[6] - '0';
        if (n == 0) return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 3\r\n\r\nend");
        return ScriptedServer::Whole("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:" +
                                     std::to_string(self->Port()) + "/r" + std::to_string(n - 1) + "\r\n\r\n");
    });
    self = &chain;
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", chain.Port(), L"/r5", out, nullptr), 1);
    EXPECT_EQ(out, "end");
    EXPECT_EQ(chain.Requests().size(), 6u);
    EXPECT_EQ(agent.Get(L"127.0.0.1", chain.Port(), L"/r6", out, nullptr), 0);
    EXPECT_EQ(chain.Requests().size(), 12u);
}

TEST_F(HttpAgentTest, SilentServerEndsWithTheTimeout) {
    ScriptedServer server([](const std::string&) {
        ScriptedReply reply;
        reply.silent = true;
        return reply;
    });
    CHttpAgent agent;
    agent.SetTimeout(1);
    std::string out;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/", out, nullptr), 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 4.0);
}

TEST_F(HttpAgentTest, HostileSizesFailWithoutExhaustingMemory) {
    ScriptedServer server([](const std::string& request) {
        if (request.find("/headers") != std::string::npos) {
            return ScriptedServer::Whole(std::string(kOk) + "X-Big: " + std::string(70 * 1024, 'a'));
        }
        if (request.find("/huge") != std::string::npos) {
            return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 67108865\r\n\r\nabc");
        }
        return ScriptedServer::Whole(std::string(kOk) + "Transfer-Encoding: chunked\r\n\r\nfffffffffffffffff\r\nabc");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/headers", "HTTP/1.1"), 1);
    EXPECT_EQ(agent.SendRequest(), 0);
    std::string out;
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/huge", "HTTP/1.1"), 1);
    ASSERT_EQ(agent.SendRequest(), 1);
    EXPECT_EQ(agent.ReadBody(out), 0);
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/chunk", "HTTP/1.1"), 1);
    ASSERT_EQ(agent.SendRequest(), 1);
    EXPECT_EQ(agent.ReadBody(out), 0);
}

TEST_F(HttpAgentTest, ShortBodyFailsTheReadButNotTheGet) {
    ScriptedServer server([](const std::string&) {
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 10\r\n\r\nabc");
    });
    CHttpAgent agent;
    agent.SetTimeout(2);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", server.Port(), L"/", out, nullptr), 1);
    EXPECT_EQ(out, "abc");
}

struct ProgressLog {
    std::vector<int> percents;
    int64_t lastTotal = 0;
    std::string data;
    int abortAfter = -1;
};

int RecordProgress(int percent, int speed, const char* data, int length, int64_t received, int64_t total,
                   uintptr_t user) {
    ProgressLog* log = reinterpret_cast<ProgressLog*>(user);
    log->percents.push_back(percent);
    log->lastTotal = total;
    if (data) log->data.append(data, static_cast<size_t>(length));
    if (log->abortAfter >= 0 && static_cast<int>(log->percents.size()) > log->abortAfter) return 0;
    return 1;
}

TEST_F(HttpAgentTest, GetFileWritesTheBodyAndReportsProgress) {
    std::string body(20000, 'q');
    body[0] = 'A';
    ScriptedServer server([&body](const std::string& request) {
        ScriptedReply reply;
        if (request.find("/short") != std::string::npos) {
            reply.pieces = {std::string(kOk) + "Content-Length: 10\r\n\r\nabc"};
        } else {
            reply.pieces = {std::string(kOk) + "Content-Length: 20000\r\n\r\n" + body.substr(0, 5000), body.substr(5000)};
        }
        return reply;
    });
    test::ScratchFolder folder(L"kestro_getfile");
    const std::wstring file = folder / L"body.bin";
    CHttpAgent agent;
    agent.SetTimeout(5);
    ProgressLog log;
    EXPECT_EQ(agent.GetFile(L"127.0.0.1", server.Port(), L"/file", file.c_str(), RecordProgress,
                            reinterpret_cast<uintptr_t>(&log), nullptr),
              1);
    EXPECT_EQ(test::ReadBytes(file), body);
    EXPECT_EQ(log.data, body);
    ASSERT_GE(log.percents.size(), 2u);
    EXPECT_EQ(log.percents.front(), 0);
    EXPECT_EQ(log.percents.back(), 100);
    EXPECT_EQ(log.lastTotal, 20000);

    ProgressLog shortLog;
    agent.SetTimeout(1);
    EXPECT_EQ(agent.GetFile(L"127.0.0.1", server.Port(), L"/short", file.c_str(), RecordProgress,
                            reinterpret_cast<uintptr_t>(&shortLog), nullptr),
              0);
    EXPECT_EQ(shortLog.percents.back(), -1);
    EXPECT_EQ(test::ReadBytes(file), "abc");

    ProgressLog aborted;
    aborted.abortAfter = 0;
    EXPECT_EQ(agent.GetFile(L"127.0.0.1", server.Port(), L"/file", file.c_str(), RecordProgress,
                            reinterpret_cast<uintptr_t>(&aborted), nullptr),
              0);
    EXPECT_EQ(aborted.percents.size(), 1u);
}

TEST_F(HttpAgentTest, ReadBodyWithProgressHandsOutEveryPiece) {
    ScriptedServer server([](const std::string&) {
        ScriptedReply reply;
        reply.pieces = {std::string(kOk) + "Content-Length: 6\r\n\r\nab", "cd", "ef"};
        return reply;
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    ASSERT_EQ(agent.Open("127.0.0.1", server.Port(), "GET", "/", "HTTP/1.1"), 1);
    ASSERT_EQ(agent.SendRequest(), 1);
    EXPECT_EQ(agent.ReadBodyWithProgress(nullptr, 0), 0);
    ProgressLog log;
    EXPECT_EQ(agent.ReadBodyWithProgress(RecordProgress, reinterpret_cast<uintptr_t>(&log)), 1);
    EXPECT_EQ(log.data, "abcdef");
    EXPECT_EQ(log.percents.back(), 100);
}

TEST_F(HttpAgentTest, RawRequestGoesOutAsWritten) {
    ScriptedServer server([](const std::string&) {
        return ScriptedServer::Whole(std::string(kOk) + "Content-Length: 1\r\n\r\nz");
    });
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string raw = "GET /raw HTTP/1.1\r\nHost: anything\r\n\r\n";
    ASSERT_EQ(agent.SendRawRequest(L"127.0.0.1", server.Port(), raw), 1);
    ASSERT_EQ(agent.ReceiveResponseHeaders(), 1);
    std::string out;
    EXPECT_EQ(agent.ReadBody(out), 1);
    EXPECT_EQ(out, "z");
    EXPECT_EQ(server.Requests()[0], raw);
}

TEST_F(HttpAgentTest, SettersAndArgumentChecks) {
    CHttpAgent agent;
    EXPECT_EQ(agent.SetReceiveBufferSize(2097152), 1);
    EXPECT_EQ(agent.SetReceiveBufferSize(2097153), 0);
    EXPECT_EQ(agent.Open("", 80, "GET", "/", "HTTP/1.1"), 0);
    EXPECT_EQ(agent.Open("h", 80, "GET", nullptr, "HTTP/1.1"), 0);
    EXPECT_EQ(agent.SendRequestHeaders(), 0);
    // Nothing listens on port 1 of loopback: the connect is refused, not hung.
    agent.SetTimeout(2);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", 1, L"/", out, nullptr), 0);
}

TEST(Lite, ReleaseDeletesAtZero) {
    ProxySettingsScope direct(ProxySettingsScope::kDirect);
    CHttpAgent* agent = new CHttpAgent;
    EXPECT_EQ(agent->AddRef(), 1);
    EXPECT_EQ(agent->AddRef(), 2);
    EXPECT_EQ(agent->Release(), 1);
    EXPECT_EQ(agent->Release(), 0);
}

}  // namespace
}  // namespace kestro
