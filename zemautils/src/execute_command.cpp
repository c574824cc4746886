// A command line started through the shell in a new process group, with input and output on
// /dev/null, so the caller's terminal and pipes never see it. The caller waits a bounded time;
// a detached reaper thread waits for the process without bound, so an ended command never stays a
// zombie, whether it ends before or after the caller gave up waiting. The reaper is created before
// the process, so a failure to create it fails the call before anything was started.

#include <zemautils/utils.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>

#include "execute_command_internal.h"

extern char** environ;

namespace {

constexpr std::chrono::milliseconds kDefaultWait{15000};
constexpr const char* kDefaultShell = "/bin/sh";

std::atomic<std::chrono::milliseconds::rep> g_waitMilliseconds{kDefaultWait.count()};
std::atomic<const char*> g_shell{kDefaultShell};

// What the caller and the reaper share about one child process.
struct ChildWatch {
    enum class State { Starting, NotStarted, Running, Ended };
    std::mutex mutex;
    std::condition_variable changed;
    State state = State::Starting;
    pid_t pid = 0;

    void Set(State next, pid_t child = 0) {
        {
            std::lock_guard lock(mutex);
            state = next;
            pid = child;
        }
        changed.notify_all();
    }
};

void* Reap(void* argument) {
    const std::unique_ptr<std::shared_ptr<ChildWatch>> owner(
        static_cast<std::shared_ptr<ChildWatch>*>(argument));
    ChildWatch& watch = **owner;
    pid_t pid = 0;
    {
        std::unique_lock lock(watch.mutex);
        watch.changed.wait(lock, [&] { return watch.state != ChildWatch::State::Starting; });
        if (watch.state == ChildWatch::State::NotStarted) return nullptr;
        pid = watch.pid;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
    }
    watch.Set(ChildWatch::State::Ended);
    return nullptr;
}

bool StartReaper(const std::shared_ptr<ChildWatch>& watch) {
    auto* argument = new (std::nothrow) std::shared_ptr<ChildWatch>(watch);
    if (!argument) return false;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const int error = pthread_create(&thread, &attributes, &Reap, argument);
    pthread_attr_destroy(&attributes);
    if (error != 0) delete argument;
    return error == 0;
}

// Spawn settings: a process group of its own, default signal handling and an empty signal mask.
struct SpawnAttributes {
    posix_spawnattr_t value;
    SpawnAttributes() {
        posix_spawnattr_init(&value);
        sigset_t all;
        sigfillset(&all);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setpgroup(&value, 0);
        posix_spawnattr_setsigdefault(&value, &all);
        posix_spawnattr_setsigmask(&value, &none);
        posix_spawnattr_setflags(&value,
                                 POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&value); }
};

// Standard input, output and error on /dev/null, and none of the caller's other descriptors: a
// command that outlives the call must not keep the caller's files, sockets or pipes open.
struct NullStreams {
    posix_spawn_file_actions_t value;
    NullStreams() {
        posix_spawn_file_actions_init(&value);
        posix_spawn_file_actions_addopen(&value, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&value, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&value, STDOUT_FILENO, STDERR_FILENO);
        posix_spawn_file_actions_addclosefrom_np(&value, STDERR_FILENO + 1);
    }
    ~NullStreams() { posix_spawn_file_actions_destroy(&value); }
};

bool Spawn(const char* commandLine, pid_t* pid) {
    const SpawnAttributes attributes;
    const NullStreams streams;
    const char* shell = g_shell.load();
    char* const arguments[] = {const_cast<char*>(shell), const_cast<char*>("-c"),
                               const_cast<char*>(commandLine), nullptr};
    return posix_spawn(pid, shell, &streams.value, &attributes.value, arguments, environ) == 0;
}

}  // namespace

namespace zema {

void SetCommandWait(std::chrono::milliseconds wait) {
    g_waitMilliseconds.store(wait.count() < 0 ? kDefaultWait.count() : wait.count());
}

void SetCommandShell(const char* shellPath) {
    g_shell.store(shellPath ? shellPath : kDefaultShell);
}

}  // namespace zema

extern "C" int32_t ExecuteCommand(const char* commandLine) {
    if (!commandLine) return -1;
    std::shared_ptr<ChildWatch> watch;
    try {
        watch = std::make_shared<ChildWatch>();
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (!StartReaper(watch)) return -1;
    pid_t pid = 0;
    if (!Spawn(commandLine, &pid)) {
        watch->Set(ChildWatch::State::NotStarted);
        return -1;
    }
    watch->Set(ChildWatch::State::Running, pid);
    std::unique_lock lock(watch->mutex);
    watch->changed.wait_for(lock, std::chrono::milliseconds(g_waitMilliseconds.load()),
                            [&] { return watch->state == ChildWatch::State::Ended; });
    return 0;
}
