// The second start's hand-over attempts, driven by a scripted pipe.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "launcher/core/handover_client.h"

namespace kestro {
namespace {

// Each Open takes the next scripted outcome: 'o' opens, 'b' finds the pipe busy,
// 'x' fails otherwise; once the script runs out every Open fails.
class ScriptedPort : public HandOverPort {
public:
    ScriptedPort(std::string opens, std::string waits = "", std::string modes = "")
        : opens_(opens.begin(), opens.end()), waits_(waits.begin(), waits.end()), modes_(modes.begin(), modes.end()) {}

    bool Open() override {
        log += 'O';
        const char next = Take(opens_, 'x');
        busy_ = next == 'b';
        if (next == 'o') ++openHandles;
        return next == 'o';
    }
    bool OpenFailedBusy() override { return busy_; }
    bool WaitForFreeInstance() override {
        log += 'W';
        return Take(waits_, 'n') == 'y';
    }
    bool SetMessageMode() override {
        log += 'M';
        return Take(modes_, 'y') == 'y';
    }
    void Write() override { log += 'w'; }
    void Close() override {
        log += 'C';
        --openHandles;
    }
    void Pause() override { log += 'P'; }

    std::string log;
    int openHandles = 0;

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

}  // namespace
}  // namespace kestro
