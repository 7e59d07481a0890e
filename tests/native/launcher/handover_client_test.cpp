// The second start's hand-over attempts, driven by a scripted pipe and clock.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "launcher/core/handover_client.h"

namespace kestro {
namespace {

// Each Open takes the next scripted outcome: 'o' opens, 'b' finds the pipe busy,
// 'x' fails otherwise; once the script runs out every Open gives |opensAfter|.
// A wait for a free instance answers from its own script ('y' or 'n', then
// 'n') and takes |waitCostMs| of the clock, or all it was given when it fails.
class ScriptedPort : public HandOverPort {
public:
    ScriptedPort(std::string opens, std::string waits = "", std::string modes = "")
        : opens_(opens.begin(), opens.end()), waits_(waits.begin(), waits.end()), modes_(modes.begin(), modes.end()) {}

    uint32_t NowMs() override { return clock; }
    bool Open() override {
        log += 'O';
        // A loop that never ends would hang the test: stop it well past any sound count.
        const char next = log.size() > 1000 ? 'x' : Take(opens_, opensAfter);
        busy_ = next == 'b';
        if (next == 'o') ++openHandles;
        return next == 'o';
    }
    bool OpenFailedBusy() override { return busy_; }
    bool WaitForFreeInstance(uint32_t timeoutMs) override {
        log += 'W';
        waitTimeouts.push_back(timeoutMs);
        const bool freed = Take(waits_, waitsAfter) == 'y';
        clock += freed && waitCostMs < timeoutMs ? waitCostMs : timeoutMs;
        return freed;
    }
    bool SetMessageMode() override {
        log += 'M';
        return Take(modes_, 'y') == 'y';
    }
    void Write(uint32_t timeoutMs) override {
        log += 'w';
        writeTimeouts.push_back(timeoutMs);
        clock += writeCostMs < timeoutMs ? writeCostMs : timeoutMs;
    }
    void Close() override {
        log += 'C';
        --openHandles;
    }
    void Pause() override {
        log += 'P';
        clock += kHandOverPauseMs;
    }

    std::string log;
    int openHandles = 0;
    uint32_t clock = 5000;
    uint32_t waitCostMs = 0;
    uint32_t writeCostMs = 0;
    char opensAfter = 'x';
    char waitsAfter = 'n';
    std::vector<uint32_t> waitTimeouts;
    std::vector<uint32_t> writeTimeouts;

private:
    static char Take(std::deque<char>& script, char otherwise) {
        if (script.empty()) return otherwise;
        const char c = script.front();
        script.pop_front();
        return c;
    }
    std::deque<char> opens_, waits_, modes_;
    bool busy_ = false;
};

TEST(HandOver, WritesOnceWhenThePipeIsServed) {
    ScriptedPort port("o");
    EXPECT_TRUE(HandOver(port));
    EXPECT_EQ(port.log, "OMwC");
    EXPECT_EQ(port.openHandles, 0);
    EXPECT_EQ(port.writeTimeouts, std::vector<uint32_t>{1000});
}

TEST(HandOver, AbsentPipeGetsThreeAttemptsEachFollowedByAPause) {
    ScriptedPort port("");
    EXPECT_FALSE(HandOver(port));
    EXPECT_EQ(port.log, "OPOPOP");
}

TEST(HandOver, BusyPipeIsWaitedForAndOpenedAgainWithinTheSameAttempt) {
    ScriptedPort port("bbo", "yy");
    EXPECT_TRUE(HandOver(port));
    EXPECT_EQ(port.log, "OWOWOMwC");
}

TEST(HandOver, FailedWaitForABusyPipeEndsTheAttempt) {
    ScriptedPort port("bxo", "n");
    EXPECT_TRUE(HandOver(port));
    EXPECT_EQ(port.log, "OWPOPOMwC");
}

TEST(HandOver, HandleIsClosedWithoutWritingWhenMessageModeFails) {
    ScriptedPort port("ooo", "", "nny");
    EXPECT_TRUE(HandOver(port));
    EXPECT_EQ(port.log, "OMCPOMCPOMwC");
    EXPECT_EQ(port.openHandles, 0);

    ScriptedPort never("ooo", "", "nnn");
    EXPECT_FALSE(HandOver(never));
    EXPECT_EQ(never.log, "OMCPOMCPOMCP");
    EXPECT_EQ(never.openHandles, 0);
}

// The waits of one attempt share its second: what a busy pipe took is gone for
// the next wait and for the write, also where the clock wraps around.
TEST(HandOver, WaitsAndTheWriteShareTheAttemptsTime) {
    for (uint32_t start : {5000u, 0xFFFFFE00u}) {
        SCOPED_TRACE(start);
        ScriptedPort port("bbo", "yy");
        port.clock = start;
        port.waitCostMs = 300;
        EXPECT_TRUE(HandOver(port));
        EXPECT_EQ(port.log, "OWOWOMwC");
        EXPECT_EQ(port.waitTimeouts, (std::vector<uint32_t>{1000, 700}));
        EXPECT_EQ(port.writeTimeouts, std::vector<uint32_t>{400});
    }
}

// Another client may take every freed instance first: the waits succeed, the
// pipe stays busy, and each attempt still ends when its time is used up,
// never asking for a wait of 0 (which WaitNamedPipeW reads as the server's default).
TEST(HandOver, PipeThatStaysBusyEndsEachAttemptAtItsTime) {
    ScriptedPort port("");
    port.opensAfter = 'b';
    port.waitsAfter = 'y';
    port.waitCostMs = 300;
    const uint32_t start = port.clock;
    EXPECT_FALSE(HandOver(port));
    EXPECT_EQ(port.log, "OWOWOWOWOP" "OWOWOWOWOP" "OWOWOWOWOP");
    const std::vector<uint32_t> perAttempt = {1000, 700, 400, 100};
    std::vector<uint32_t> expected;
    for (int attempt = 0; attempt < kHandOverAttempts; ++attempt) {
        expected.insert(expected.end(), perAttempt.begin(), perAttempt.end());
    }
    EXPECT_EQ(port.waitTimeouts, expected);
    EXPECT_EQ(port.clock - start, 3u * (kAttemptTimeMs + kHandOverPauseMs));
}

// A running instance that accepts and never reads: the write is given up at the
// attempt's time, and the hand-over ends there, written or not.
TEST(HandOver, WriteThatIsNeverReadEndsWithTheAttempt) {
    ScriptedPort port("bo", "y");
    port.waitCostMs = 250;
    port.writeCostMs = 60000;
    const uint32_t start = port.clock;
    EXPECT_TRUE(HandOver(port));
    EXPECT_EQ(port.log, "OWOMwC");
    EXPECT_EQ(port.writeTimeouts, std::vector<uint32_t>{750});
    EXPECT_EQ(port.clock - start, kAttemptTimeMs);
}

}  // namespace
}  // namespace kestro
