#include <zemautils/utils.h>

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "execute_command_internal.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using namespace std::chrono_literals;
using testsupport::ScopedTempDir;

// Polls condition every 20 ms for up to 10 s.
template <typename Condition>
bool Eventually(Condition condition) {
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         std::chrono::steady_clock::now() < deadline;) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

// A process that still exists in any form, a zombie included, answers signal 0.
bool ProcessExists(pid_t pid) {
    return kill(pid, 0) == 0 || errno != ESRCH;
}

char ProcessState(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? '?' : text[close + 2];
}

class ExecuteCommandTest : public testing::Test {
protected:
    void TearDown() override {
        zema::SetCommandWait(-1ms);
        zema::SetCommandShell(nullptr);
    }

    // The shell's process id, once the command has written it.
    pid_t CommandPid() const {
        pid_t pid = 0;
        Eventually([&] {
            std::ifstream in(dir_ / "pid");
            return static_cast<bool>(in >> pid);
        });
        return pid;
    }

    ScopedTempDir dir_;
    std::string cd_ = "cd '" + dir_.path().string() + "' && ";
};

TEST_F(ExecuteCommandTest, QuickCommandRunsAndIsReapedBeforeReturning) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(ExecuteCommand((cd_ + "echo $$ > pid").c_str()), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s)
        << "the caller waits only until the command ends";
    const pid_t pid = CommandPid();
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(ProcessExists(pid)) << "the ended command was not reaped";
}

TEST_F(ExecuteCommandTest, LongCommandKeepsRunningInItsOwnGroupAndIsReapedWhenItEnds) {
    zema::SetCommandWait(100ms);
    ASSERT_EQ(ExecuteCommand((cd_ + "echo $$ > pid; while [ ! -e release ]; do sleep 0.05; done").c_str()),
              0);
    const pid_t pid = CommandPid();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(ProcessExists(pid));
    EXPECT_NE(ProcessState(pid), 'Z');
    EXPECT_EQ(getpgid(pid), pid) << "the command leads a process group of its own";
    EXPECT_NE(getpgid(pid), getpgrp());

    dir_.write("release", "");
    EXPECT_TRUE(Eventually([&] { return !ProcessExists(pid); }))
        << "no zombie may remain once the command ends";
}

TEST_F(ExecuteCommandTest, OutputOfTheCommandDoesNotReachTheCaller) {
    const auto captured = dir_ / "captured";
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(STDOUT_FILENO);
    const int savedErr = dup(STDERR_FILENO);
    FILE* capture = std::fopen(captured.c_str(), "w");
    ASSERT_NE(capture, nullptr);
    dup2(fileno(capture), STDOUT_FILENO);
    dup2(fileno(capture), STDERR_FILENO);

    const int32_t result = ExecuteCommand("echo to-output; echo to-error >&2; read line; echo read:$line");

    dup2(savedOut, STDOUT_FILENO);
    dup2(savedErr, STDERR_FILENO);
    close(savedOut);
    close(savedErr);
    std::fclose(capture);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ScopedTempDir::read(captured), "");
}

TEST_F(ExecuteCommandTest, CommandKeepsNoDescriptorOfTheCallerOpen) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    zema::SetCommandWait(100ms);
    ASSERT_EQ(ExecuteCommand((cd_ + "echo $$ > pid; while [ ! -e release ]; do sleep 0.05; done").c_str()),
              0);
    const pid_t pid = CommandPid();
    close(pipeEnds[1]);
    pollfd readEnd{pipeEnds[0], POLLIN, 0};
    EXPECT_EQ(poll(&readEnd, 1, 0), 1);
    EXPECT_TRUE(readEnd.revents & POLLHUP) << "the running command still holds the pipe's write end";
    close(pipeEnds[0]);
    dir_.write("release", "");
    EXPECT_TRUE(Eventually([&] { return !ProcessExists(pid); }));
}

TEST_F(ExecuteCommandTest, CommandThatCannotStartGivesMinusOne) {
    zema::SetCommandShell("/nonexistent/shell");
    EXPECT_EQ(ExecuteCommand("true"), -1);
    zema::SetCommandShell(nullptr);
    EXPECT_EQ(ExecuteCommand(nullptr), -1);
}

}  // namespace
