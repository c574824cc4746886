#include <zemautils/utils.h>

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

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

// The number of threads of this process.
std::size_t ThreadCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task")) ++count;
    return count;
}

class ExecuteCommandTest : public testing::Test {
protected:
    void TearDown() override {
        zema::SetCommandWait(-1ms);
        zema::SetCommandShell(nullptr);
        zema::SetCommandProcessDescriptors(true);
    }

    // The shell's process id, once the command has written it to the file.
    pid_t CommandPid(const std::string& file = "pid") const {
        pid_t pid = 0;
        Eventually([&] {
            std::ifstream in(dir_ / file);
            return static_cast<bool>(in >> pid);
        });
        return pid;
    }

    ScopedTempDir dir_;
    std::string cd_ = "cd '" + dir_.path().string() + "' && ";
};

// The reaper watches a command through its process descriptor, or without one by looking at it
// periodically; everything about reaping holds for both.
class ExecuteCommandWatch : public ExecuteCommandTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override { zema::SetCommandProcessDescriptors(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Watch, ExecuteCommandWatch, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "ProcessDescriptor" : "Sweep";
                         });

TEST_P(ExecuteCommandWatch, QuickCommandRunsAndIsReapedBeforeReturning) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(ExecuteCommand((cd_ + "echo $$ > pid").c_str()), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s)
        << "the caller waits only until the command ends";
    const pid_t pid = CommandPid();
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(ProcessExists(pid)) << "the ended command was not reaped";
}

TEST_P(ExecuteCommandWatch, LongCommandKeepsRunningInItsOwnGroupAndIsReapedWhenItEnds) {
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

// The shell always starts; a command it cannot start ends at once with 127 (not found) or 126
// (not executable), and that counts as not started. Any other end is a started command.
TEST_P(ExecuteCommandWatch, CommandTheShellCannotStartGivesMinusOne) {
    dir_.write("plain", "echo never\n");
    std::filesystem::permissions(dir_ / "plain", std::filesystem::perms::owner_read);
    const std::string dir = dir_.path().string();
    struct Case {
        std::string command;
        int32_t result;
    };
    const Case cases[] = {
        {"/no/such/program --flag", -1},
        {"no-such-program-in-the-path", -1},
        {"'" + dir + "/plain'", -1},
        {"'" + dir + "'", -1},
        {"exit 3", 0},
        {"true", 0},
        {"kill -9 $$", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ExecuteCommand(c.command.c_str()), c.result) << c.command;
}

// Each command that outlives its wait is left to the one reaper, not to a thread of its own.
TEST_P(ExecuteCommandWatch, ManyLongCommandsShareOneReaper) {
    constexpr int kCommands = 6;
    zema::SetCommandWait(0ms);
    const auto start = [&](int i) {
        const std::string command =
            cd_ + "echo $$ > pid" + std::to_string(i) + "; while [ ! -e release ]; do sleep 0.05; done";
        return ExecuteCommand(command.c_str());
    };
    // The first command starts whatever threads the library (and a sanitizer runtime) needs.
    ASSERT_EQ(start(0), 0);
    const std::size_t threads = ThreadCount();
    for (int i = 1; i < kCommands; ++i) ASSERT_EQ(start(i), 0);
    std::vector<pid_t> pids;
    for (int i = 0; i < kCommands; ++i) pids.push_back(CommandPid("pid" + std::to_string(i)));
    EXPECT_EQ(ThreadCount(), threads) << "running commands hold threads";

    dir_.write("release", "");
    for (const pid_t pid : pids) {
        ASSERT_GT(pid, 0);
        EXPECT_TRUE(Eventually([&] { return !ProcessExists(pid); })) << "no zombie may remain";
    }
}

TEST_F(ExecuteCommandTest, CommandThatCannotStartGivesMinusOne) {
    zema::SetCommandShell("/nonexistent/shell");
    EXPECT_EQ(ExecuteCommand("true"), -1);
    zema::SetCommandShell(nullptr);
    EXPECT_EQ(ExecuteCommand(nullptr), -1);
}

}  // namespace
